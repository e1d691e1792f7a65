#pragma once
#include <gtest/gtest.h>
#include <json/json.h>
#include <windows.h>

#include <initializer_list>
#include <string>

#include "LumoraProgramSuite.h"
#include "WindowProbes.h"

// A page call's arguments, as the page writes them: a JSON array.
inline Json::Value Args(std::initializer_list<Json::Value> values)
{
    Json::Value args(Json::arrayValue);
    for (const Json::Value& v : values) args.append(v);
    return args;
}

// A suite that drives one running lumora.exe as its portal page would.
template <class Suite> class TPageCommandSuite : public TLumoraProgramSuite<Suite>
{
protected:
    using TLumoraProgramSuite<Suite>::process_;
    using TLumoraProgramSuite<Suite>::main_;

    bool Send(const std::string& name, const Json::Value& args = Json::Value(Json::arrayValue))
    {
        return process_->SendPageMessageArgs(name, args);
    }

    // Returns once the main window has run every page command sent before:
    // they arrive in order, so a stay-on-top change seen from here is the
    // proof. The window's stay-on-top state is as it was afterwards.
    void Barrier()
    {
        bool was = TopMost(main_);
        ASSERT_TRUE(Send("setWindowFront", Args({ !was })));
        ASSERT_TRUE(WaitUntil([&] { return TopMost(main_) == !was; }));
        ASSERT_TRUE(Send("setWindowFront", Args({ was })));
        ASSERT_TRUE(WaitUntil([&] { return TopMost(main_) == was; }));
    }
};
