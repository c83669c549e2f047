#include "cmd_target.h"

const afx::MessageMap* CCmdTarget::GetThisMessageMap() {
    static const afx::MessageMapEntry entries[] = {{0, 0, 0, nullptr}};
    static const afx::MessageMap map = {nullptr, entries};
    return &map;
}

const afx::MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    // A command from an accelerator (code 1, no control) is the same command
    // as from a menu (code 0).
    if (message == WM_COMMAND && code == 1 && lParam == 0) {
        code = 0;
    }
    for (const afx::MessageMap* map = GetMessageMap(); map != nullptr;
         map = map->baseMap ? map->baseMap() : nullptr) {
        for (const afx::MessageMapEntry* entry = map->entries; entry->thunk; ++entry) {
            if (entry->message == message && entry->id == id && entry->code == code) {
                result = entry->thunk(this, wParam, lParam);
                return true;
            }
        }
    }
    return false;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code, LRESULT& result) {
    return DispatchToMap(WM_COMMAND, MAKEWPARAM(id, code), 0, result);
}
