#pragma once
// Message maps: a static table per class from a message (and, for commands, a
// control id and notification code) to a member handler. Each class's table
// chains to its base class's table.

#include <cstddef>

#include "afx_win.h"

class CCmdTarget;

namespace afx {

// Calls one member handler on `target`, unpacking wParam and lParam.
using HandlerThunk = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;        // WM_...
    UINT code;           // notification code, for WM_COMMAND
    UINT id;             // control or command id, for WM_COMMAND
    HandlerThunk thunk;  // nullptr ends the table
};

struct MessageMap {
    const MessageMap* (*baseMap)();  // nullptr at the root
    const MessageMapEntry* entries;
};

template <class T, auto Handler>
LRESULT CallVoid(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<T*>(target)->*Handler)();
    return 0;
}

template <class T, auto Handler>
LRESULT CallSysCommand(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(target)->*Handler)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <class T, auto Handler>
LRESULT CallQueryDragIcon(CCmdTarget* target, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((static_cast<T*>(target)->*Handler)());
}

template <class T, auto Handler>
LRESULT CallMessage(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T*>(target)->*Handler)(wParam, lParam);
}

}  // namespace afx

// In the class declaration.
#define DECLARE_MESSAGE_MAP()                            \
protected:                                               \
    static const ::afx::MessageMap* GetThisMessageMap(); \
    const ::afx::MessageMap* GetMessageMap() const override;

// In the class's source: the table, one row per handler, in dispatch order.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
    const ::afx::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::afx::MessageMap* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                         \
        using TheBaseClass = baseClass;                                                      \
        static const ::afx::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                             \
    { 0, 0, 0, nullptr }                                                              \
    }                                                                                 \
    ;                                                                                 \
    static const ::afx::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                                      \
    }

#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, &::afx::CallSysCommand<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &::afx::CallVoid<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, &::afx::CallQueryDragIcon<ThisClass, &ThisClass::OnQueryDragIcon>},
// Any message, to a handler LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, &::afx::CallMessage<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), &::afx::CallVoid<ThisClass, &ThisClass::memberFxn>},
#define ON_BN_CLICKED(id, memberFxn)                \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), \
     &::afx::CallVoid<ThisClass, &ThisClass::memberFxn>},
#define ON_EN_CHANGE(id, memberFxn)                \
    {WM_COMMAND, EN_CHANGE, static_cast<UINT>(id), \
     &::afx::CallVoid<ThisClass, &ThisClass::memberFxn>},
#define ON_LBN_DBLCLK(id, memberFxn)                \
    {WM_COMMAND, LBN_DBLCLK, static_cast<UINT>(id), \
     &::afx::CallVoid<ThisClass, &ThisClass::memberFxn>},
