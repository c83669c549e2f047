#pragma once
// The root of everything that has a message map.

#include "message_map.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = default;
    CCmdTarget& operator=(const CCmdTarget&) = default;

    // Finds the handler for a message in this object's message maps, the
    // class's own first, and calls it. Returns whether one was found.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Routes a command (menu, accelerator or control notification).
    bool OnCmdMsg(UINT id, UINT code, LRESULT& result);

protected:
    static const afx::MessageMap* GetThisMessageMap();
    virtual const afx::MessageMap* GetMessageMap() const;
};
