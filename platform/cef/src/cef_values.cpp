// List values and process messages.
#include "cef_process_message.h"

CefRefPtr<CefListValue> CefListValue::Create()
{
    return new CefListValue();
}

CefRefPtr<CefListValue> CefListValue::Copy() const
{
    CefRefPtr<CefListValue> copy = new CefListValue();
    copy->entries_ = entries_;
    for (Entry& entry : copy->entries_) {
        if (entry.listValue) entry.listValue = entry.listValue->Copy();
    }
    return copy;
}

bool CefListValue::SetSize(size_t size)
{
    entries_.resize(size);
    return true;
}

bool CefListValue::Clear()
{
    entries_.clear();
    return true;
}

bool CefListValue::Remove(size_t index)
{
    if (index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

CefListValue::Entry& CefListValue::Slot(size_t index)
{
    if (index >= entries_.size()) entries_.resize(index + 1);
    entries_[index] = Entry();
    return entries_[index];
}

const CefListValue::Entry* CefListValue::Find(size_t index) const
{
    return index < entries_.size() ? &entries_[index] : nullptr;
}

CefValueType CefListValue::GetType(size_t index) const
{
    const Entry* entry = Find(index);
    return entry ? entry->type : VTYPE_INVALID;
}

bool CefListValue::GetBool(size_t index) const
{
    const Entry* entry = Find(index);
    return entry && entry->type == VTYPE_BOOL && entry->boolValue;
}

int CefListValue::GetInt(size_t index) const
{
    const Entry* entry = Find(index);
    return entry && entry->type == VTYPE_INT ? entry->intValue : 0;
}

double CefListValue::GetDouble(size_t index) const
{
    const Entry* entry = Find(index);
    if (!entry) return 0;
    if (entry->type == VTYPE_DOUBLE) return entry->doubleValue;
    return entry->type == VTYPE_INT ? entry->intValue : 0;
}

CefString CefListValue::GetString(size_t index) const
{
    const Entry* entry = Find(index);
    return entry && entry->type == VTYPE_STRING ? CefString(entry->stringValue) : CefString();
}

CefRefPtr<CefListValue> CefListValue::GetList(size_t index) const
{
    const Entry* entry = Find(index);
    return entry && entry->type == VTYPE_LIST ? entry->listValue : nullptr;
}

bool CefListValue::SetNull(size_t index)
{
    Slot(index);
    return true;
}

bool CefListValue::SetBool(size_t index, bool value)
{
    Entry& entry = Slot(index);
    entry.type = VTYPE_BOOL;
    entry.boolValue = value;
    return true;
}

bool CefListValue::SetInt(size_t index, int value)
{
    Entry& entry = Slot(index);
    entry.type = VTYPE_INT;
    entry.intValue = value;
    return true;
}

bool CefListValue::SetDouble(size_t index, double value)
{
    Entry& entry = Slot(index);
    entry.type = VTYPE_DOUBLE;
    entry.doubleValue = value;
    return true;
}

bool CefListValue::SetString(size_t index, const CefString& value)
{
    Entry& entry = Slot(index);
    entry.type = VTYPE_STRING;
    entry.stringValue = value.ToWString();
    return true;
}

bool CefListValue::SetList(size_t index, CefRefPtr<CefListValue> value)
{
    if (!value) return false;
    CefRefPtr<CefListValue> copy = value->Copy(); // before Slot: value may be an element of this list
    Entry& entry = Slot(index);
    entry.type = VTYPE_LIST;
    entry.listValue = copy;
    return true;
}

CefProcessMessage::CefProcessMessage(const CefString& name) : name_(name), arguments_(CefListValue::Create()) { }

CefRefPtr<CefProcessMessage> CefProcessMessage::Create(const CefString& name)
{
    return new CefProcessMessage(name);
}

CefRefPtr<CefProcessMessage> CefProcessMessage::Copy() const
{
    CefRefPtr<CefProcessMessage> copy = new CefProcessMessage(name_);
    copy->arguments_ = arguments_->Copy();
    return copy;
}
