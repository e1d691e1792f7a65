#pragma once

namespace UIShared {

// A window manager may name a parent manager (a drop-down or menu names the manager of
// the window that opened it), and the parents form a chain that both libraries walk
// alike. TManager answers GetParentManager().
template <class TManager> TManager* TopOfChain(const TManager* pManager)
{
    while (pManager->GetParentManager() != nullptr) pManager = pManager->GetParentManager();
    return const_cast<TManager*>(pManager);
}

// True when pManager already stands in pParent's chain, so naming pParent as its parent
// would close a loop.
template <class TManager> bool ChainWouldLoop(const TManager* pManager, const TManager* pParent)
{
    for (const TManager* p = pParent; p != nullptr; p = p->GetParentManager()) {
        if (p == pManager) return true;
    }
    return false;
}

} // namespace UIShared
