// Stand-in for the engine's value lists, the form in which process messages
// carry their arguments.
#pragma once
#include "cef_base.h"

#include <vector>

typedef enum {
    VTYPE_INVALID = 0,
    VTYPE_NULL,
    VTYPE_BOOL,
    VTYPE_INT,
    VTYPE_DOUBLE,
    VTYPE_STRING,
    VTYPE_BINARY,
    VTYPE_DICTIONARY,
    VTYPE_LIST,
} cef_value_type_t;
typedef cef_value_type_t CefValueType;

// An ordered list of values. Setting an element past the end grows the list
// with null values. A nested list is owned by its parent: SetList stores a deep
// copy of the list given, GetList hands out the stored list itself.
class CefListValue : public virtual CefBaseRefCounted
{
public:
    static CefRefPtr<CefListValue> Create();

    bool IsValid() const { return true; }
    CefRefPtr<CefListValue> Copy() const;
    bool SetSize(size_t size);
    size_t GetSize() const { return entries_.size(); }
    bool Clear();
    bool Remove(size_t index);

    CefValueType GetType(size_t index) const;
    bool GetBool(size_t index) const;
    int GetInt(size_t index) const;
    double GetDouble(size_t index) const;
    CefString GetString(size_t index) const;
    CefRefPtr<CefListValue> GetList(size_t index) const;

    bool SetNull(size_t index);
    bool SetBool(size_t index, bool value);
    bool SetInt(size_t index, int value);
    bool SetDouble(size_t index, double value);
    bool SetString(size_t index, const CefString& value);
    bool SetList(size_t index, CefRefPtr<CefListValue> value);

private:
    struct Entry
    {
        CefValueType type = VTYPE_NULL;
        bool boolValue = false;
        int intValue = 0;
        double doubleValue = 0;
        std::wstring stringValue;
        CefRefPtr<CefListValue> listValue;
    };
    CefListValue() = default;
    Entry& Slot(size_t index);
    const Entry* Find(size_t index) const;

    std::vector<Entry> entries_;
    IMPLEMENT_REFCOUNTING(CefListValue);
};
