// Keyboard input as a person gives it: keys go through the system's input queue (SendInput) to the
// window that has the keyboard focus, so the shift keys are really down while a key is handled
// (GetKeyState sees them) and every layer of key handling takes part: the message loop's key
// preprocessing, the dialog keys, the controls' own keyboard interface.
//
//     PressKeys({{VK_TAB, ssShift}, {VK_RETURN}});
//     TypeText(L"25122026");
//     EXPECT_TRUE(PumpUntil([&] { return ...; }));
//
// SendInput only queues the input: the caller's message loop (PumpUntil, or the nested loop of a
// modal window when the keys are sent from a watcher's thread) delivers it. A watcher, which runs
// beside the window's thread, follows the focus there with ThreadFocus and WalkFocus.
#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <vector>

#include "framework/controls/Control.h"

struct TKeyStroke {
    Word Key;
    TShiftState Shift{};
};

namespace key_input_detail {

inline INPUT KeyEvent(Word key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_HOME ||
        key == VK_END || key == VK_PRIOR || key == VK_NEXT || key == VK_INSERT || key == VK_DELETE)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return input;
}

inline void AddStroke(std::vector<INPUT>& inputs, const TKeyStroke& stroke) {
    const std::pair<TShiftStateItem, Word> modifiers[] = {
        {ssCtrl, VK_CONTROL}, {ssShift, VK_SHIFT}, {ssAlt, VK_MENU}};
    for (const auto& [item, vk] : modifiers)
        if (stroke.Shift.Contains(item)) inputs.push_back(KeyEvent(vk, false));
    inputs.push_back(KeyEvent(stroke.Key, false));
    inputs.push_back(KeyEvent(stroke.Key, true));
    for (const auto& [item, vk] : modifiers)
        if (stroke.Shift.Contains(item)) inputs.push_back(KeyEvent(vk, true));
}

inline bool Send(std::vector<INPUT>& inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace key_input_detail

// Presses the keys one after the other, each with its shift keys held. False when the system
// refused the input.
inline bool PressKeys(std::initializer_list<TKeyStroke> strokes) {
    std::vector<INPUT> inputs;
    for (const TKeyStroke& stroke : strokes) key_input_detail::AddStroke(inputs, stroke);
    return key_input_detail::Send(inputs);
}

inline bool PressKey(Word key, TShiftState shift = {}) { return PressKeys({{key, shift}}); }

// Types the text on the keyboard of the current layout (letters, digits and the punctuation it
// has keys for).
inline bool TypeText(const String& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        const SHORT scan = VkKeyScanW(c);
        if (scan == -1) return false;
        TShiftState shift;
        if (scan & 0x100) shift.Include(ssShift);
        if (scan & 0x200) shift.Include(ssCtrl);
        if (scan & 0x400) shift.Include(ssAlt);
        key_input_detail::AddStroke(inputs, {static_cast<Word>(scan & 0xFF), shift});
    }
    return key_input_detail::Send(inputs);
}

// The window with the keyboard focus on a thread (this one or another).
inline HWND ThreadFocus(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// On a watcher's thread: waits until done() holds, polling (the windows belong to another thread,
// so there is nothing to wait on), within a bound meant for a machine under load.
inline bool WaitOnWatcher(const std::function<bool()>& done, int boundMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        Sleep(10);
    }
    return true;
}

// On a watcher's thread: presses the key steps times, each time waiting until the focus on the
// window's thread has moved; returns the windows it went to (ends early, with a null, when it
// stayed).
inline std::vector<HWND> WalkFocus(DWORD windowThread, TKeyStroke key, int steps) {
    std::vector<HWND> visited;
    for (int i = 0; i < steps; ++i) {
        const HWND before = ThreadFocus(windowThread);
        PressKey(key.Key, key.Shift);
        if (!WaitOnWatcher([&] { return ThreadFocus(windowThread) != before; })) {
            visited.push_back(nullptr);
            break;
        }
        visited.push_back(ThreadFocus(windowThread));
    }
    return visited;
}
