// Script values, list values and the conversion of a page's argument array
// into a process message's argument list.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ClientAppExtensionHandler.h"
#include "cef_v8.h"
#include "cef_values.h"

namespace {

CefRefPtr<CefV8Value> Array(std::initializer_list<CefRefPtr<CefV8Value>> items)
{
    CefRefPtr<CefV8Value> array = CefV8Value::CreateArray(0);
    int i = 0;
    for (const auto& item : items) array->SetValue(i++, item);
    return array;
}

CefRefPtr<CefV8Value> Num(double v)
{
    return CefV8Value::CreateDouble(v);
}
CefRefPtr<CefV8Value> Str(const wchar_t* v)
{
    return CefV8Value::CreateString(v);
}

CefRefPtr<CefListValue> Convert(CefRefPtr<CefV8Value> array, bool* ok = nullptr)
{
    CefRefPtr<CefListValue> list = CefListValue::Create();
    bool converted = ClientAppExtensionHandler::ConvertArrayToList(array, list);
    if (ok) *ok = converted;
    return list;
}

TEST(ScriptNumbers, IntMeansAWholeNumberInSignedThirtyTwoBitRange)
{
    struct Case
    {
        double value;
        bool isInt;
    } cases[] = {
        { 3, true },
        { 0, true },
        { -2147483648.0, true },
        { 2147483647.0, true },
        { 2147483648.0, false },
        { -2147483649.0, false },
        { 1.5, false },
        { -0.25, false },
        { std::numeric_limits<double>::quiet_NaN(), false },
        { std::numeric_limits<double>::infinity(), false },
    };
    for (const Case& c : cases) {
        CefRefPtr<CefV8Value> v = Num(c.value);
        EXPECT_EQ(v->IsInt(), c.isInt) << c.value;
        EXPECT_TRUE(v->IsDouble()) << "every number is a double: " << c.value;
    }
    EXPECT_EQ(CefV8Value::CreateInt(-7)->GetIntValue(), -7);
    EXPECT_FALSE(Str(L"3")->IsInt());
    EXPECT_FALSE(CefV8Value::CreateBool(true)->IsDouble());
}

TEST(ListValue, CopyIsDeepAndNestedListsAreOwnedCopies)
{
    CefRefPtr<CefListValue> inner = CefListValue::Create();
    inner->SetString(0, L"x");
    CefRefPtr<CefListValue> outer = CefListValue::Create();
    outer->SetList(0, inner);
    inner->SetString(0, L"changed after SetList");
    EXPECT_EQ(outer->GetList(0)->GetString(0).ToWString(), L"x");

    CefRefPtr<CefListValue> copy = outer->Copy();
    outer->GetList(0)->SetInt(0, 5);
    EXPECT_EQ(copy->GetList(0)->GetType(0), VTYPE_STRING);
    EXPECT_EQ(outer->GetList(0)->GetInt(0), 5);
}

TEST(ListValue, SizeFillsWithNullAndOutOfRangeIsInvalid)
{
    CefRefPtr<CefListValue> list = CefListValue::Create();
    list->SetSize(2);
    EXPECT_EQ(list->GetType(0), VTYPE_NULL);
    EXPECT_EQ(list->GetType(1), VTYPE_NULL);
    EXPECT_EQ(list->GetType(2), VTYPE_INVALID);
    list->SetBool(4, true);
    EXPECT_EQ(list->GetSize(), 5u);
    EXPECT_EQ(list->GetType(3), VTYPE_NULL);
    EXPECT_FALSE(list->GetList(4));
    EXPECT_EQ(list->GetInt(4), 0) << "reading another type gives the empty value";
}

TEST(ArrayConversion, EachElementKeepsItsType)
{
    CefRefPtr<CefListValue> list =
        Convert(Array({ Str(L"s"), CefV8Value::CreateBool(true), Num(3), Num(1.5), CefV8Value::CreateNull(),
                        CefV8Value::CreateUndefined(), CefV8Value::CreateObject(), CefV8Value::CreateFunction(L"f") }));
    ASSERT_EQ(list->GetSize(), 8u);
    const CefValueType expected[] = { VTYPE_STRING, VTYPE_BOOL, VTYPE_INT,  VTYPE_DOUBLE,
                                      VTYPE_NULL,   VTYPE_NULL, VTYPE_NULL, VTYPE_NULL };
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(list->GetType(i), expected[i]) << "element " << i;
    EXPECT_EQ(list->GetString(0).ToWString(), L"s");
    EXPECT_TRUE(list->GetBool(1));
    EXPECT_EQ(list->GetInt(2), 3);
    EXPECT_DOUBLE_EQ(list->GetDouble(3), 1.5);
}

TEST(ArrayConversion, NestedArraysBecomeNestedLists)
{
    CefRefPtr<CefListValue> list = Convert(Array({ Array({ Num(1), Array({ Str(L"deep") }) }), Array({}) }));
    ASSERT_EQ(list->GetType(0), VTYPE_LIST);
    CefRefPtr<CefListValue> first = list->GetList(0);
    EXPECT_EQ(first->GetInt(0), 1);
    ASSERT_EQ(first->GetType(1), VTYPE_LIST);
    EXPECT_EQ(first->GetList(1)->GetString(0).ToWString(), L"deep");
    ASSERT_EQ(list->GetType(1), VTYPE_LIST);
    EXPECT_EQ(list->GetList(1)->GetSize(), 0u);
}

TEST(ArrayConversion, DepthIsLimited)
{
    auto nested = [](int depth) {
        CefRefPtr<CefV8Value> array = Array({ Num(1) });
        for (int i = 1; i < depth; ++i) array = Array({ array });
        return array;
    };
    bool ok = false;
    Convert(nested(ClientAppExtensionHandler::kMaxArrayDepth), &ok);
    EXPECT_TRUE(ok);
    Convert(nested(ClientAppExtensionHandler::kMaxArrayDepth + 1), &ok);
    EXPECT_FALSE(ok);
}

TEST(ArrayConversion, SelfContainingArrayIsRefused)
{
    CefRefPtr<CefV8Value> array = Array({ Num(1) });
    array->SetValue(1, array);
    bool ok = true;
    Convert(array, &ok);
    EXPECT_FALSE(ok);
    array->SetValue(1, CefV8Value::CreateNull()); // break the cycle
}

TEST(ArrayConversion, TotalElementCountIsCapped)
{
    const int cap = static_cast<int>(ClientAppExtensionHandler::kMaxListElements);
    bool ok = false;
    Convert(CefV8Value::CreateArray(cap), &ok);
    EXPECT_TRUE(ok);
    Convert(CefV8Value::CreateArray(cap + 1), &ok);
    EXPECT_FALSE(ok);
    // One shared row referenced from every slot: small in script, huge as a list.
    CefRefPtr<CefV8Value> row = CefV8Value::CreateArray(100);
    CefRefPtr<CefV8Value> table = CefV8Value::CreateArray(0);
    for (int i = 0; i < 100; ++i) table->SetValue(i, row);
    Convert(table, &ok);
    EXPECT_FALSE(ok);
}

} // namespace
