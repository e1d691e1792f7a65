#pragma once
#include <windows.h>

#include <vector>

// Host windows and notification logs for the tests of either UI library, as
// templates over the library's window, manager and notification types.

// Keeps every notification the manager sends.
template <class TNotifier, class TRecord> class TNotifyLog : public TNotifier
{
public:
    void Notify(TRecord& msg) override { records.push_back(msg); }
    // Notifications of a type (from one sender, when given).
    template <class TType> int Count(const TType& type, const void* sender = nullptr) const
    {
        int n = 0;
        for (const TRecord& r : records) n += r.type == type && (sender == nullptr || r.sender == sender) ? 1 : 0;
        return n;
    }
    template <class TType> const TRecord* Last(const TType& type) const
    {
        for (size_t i = records.size(); i > 0; i--)
            if (records[i - 1].type == type) return &records[i - 1];
        return nullptr;
    }
    std::vector<TRecord> records;
};

// A skinned window as an application builds one: the manager, when there is
// one, sees every message first. Tests share one such window (destroying an
// activated window costs Wine seconds under a bare X server) and give it a
// fresh manager each.
template <class TWindow, class TManager> class TManagedHostWnd : public TWindow
{
public:
    TManager* m_pm = nullptr;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = 0;
        if (m_pm != nullptr && m_pm->HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return TWindow::HandleMessage(uMsg, wParam, lParam);
    }
};

// The same window owning its manager: Reset gives it a new one that reports
// to log, or none.
template <class TWindow, class TManager, class TLog>
class TResettableHostWnd : public TManagedHostWnd<TWindow, TManager>
{
public:
    ~TResettableHostWnd() override { delete this->m_pm; }
    void Reset(bool bNewManager)
    {
        delete this->m_pm;
        this->m_pm = nullptr;
        log.records.clear();
        if (!bNewManager) return;
        this->m_pm = new TManager;
        this->m_pm->Init(this->GetWindowHandle());
        this->m_pm->AddNotifier(&log);
    }
    TLog log;
};

// A window whose own manager builds its tree from the skin when the window is
// created, and that logs every notification.
template <class TWindow, class TManager, class TControl, class TLog> class TBuiltSkinWnd : public TWindow
{
public:
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            manager.Init(this->GetWindowHandle());
            root = BuildRoot(manager);
            manager.AttachRoot(root);
            manager.AddNotifier(&log);
            return 0;
        }
        LRESULT lRes = 0;
        if (manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return TWindow::HandleMessage(uMsg, wParam, lParam);
    }

    TManager manager;
    TControl* root = nullptr;
    TLog log;

protected:
    virtual TControl* BuildRoot(TManager& builderManager) = 0;
};
