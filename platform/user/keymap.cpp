// Scan codes, extended keys, characters and names of virtual keys (US English layout).
#include "platform/user/keymap.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "platform/user/input_state.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

struct KeyInfo {
    int vk;
    const char* name;
    UINT scan;
    bool extended;
};

// Set-1 scan codes of the keys with names; letters and digits are computed below.
constexpr KeyInfo kKeys[] = {
    {VK_LBUTTON, "VK_LBUTTON", 0, false},   {VK_RBUTTON, "VK_RBUTTON", 0, false},
    {VK_MBUTTON, "VK_MBUTTON", 0, false},   {VK_BACK, "VK_BACK", 0x0E, false},
    {VK_TAB, "VK_TAB", 0x0F, false},         {VK_RETURN, "VK_RETURN", 0x1C, false},
    {VK_SHIFT, "VK_SHIFT", 0x2A, false},     {VK_CONTROL, "VK_CONTROL", 0x1D, false},
    {VK_MENU, "VK_MENU", 0x38, false},       {VK_PAUSE, "VK_PAUSE", 0x45, false},
    {VK_CAPITAL, "VK_CAPITAL", 0x3A, false}, {VK_ESCAPE, "VK_ESCAPE", 0x01, false},
    {VK_SPACE, "VK_SPACE", 0x39, false},     {VK_PRIOR, "VK_PRIOR", 0x49, true},
    {VK_NEXT, "VK_NEXT", 0x51, true},        {VK_END, "VK_END", 0x4F, true},
    {VK_HOME, "VK_HOME", 0x47, true},        {VK_LEFT, "VK_LEFT", 0x4B, true},
    {VK_UP, "VK_UP", 0x48, true},            {VK_RIGHT, "VK_RIGHT", 0x4D, true},
    {VK_DOWN, "VK_DOWN", 0x50, true},        {VK_SNAPSHOT, "VK_SNAPSHOT", 0x37, true},
    {VK_INSERT, "VK_INSERT", 0x52, true},    {VK_DELETE, "VK_DELETE", 0x53, true},
    {VK_LWIN, "VK_LWIN", 0x5B, true},        {VK_RWIN, "VK_RWIN", 0x5C, true},
    {VK_APPS, "VK_APPS", 0x5D, true},        {VK_MULTIPLY, "VK_MULTIPLY", 0x37, false},
    {VK_ADD, "VK_ADD", 0x4E, false},         {VK_SUBTRACT, "VK_SUBTRACT", 0x4A, false},
    {VK_DECIMAL, "VK_DECIMAL", 0x53, false}, {VK_DIVIDE, "VK_DIVIDE", 0x35, true},
    {VK_NUMLOCK, "VK_NUMLOCK", 0x45, true},  {VK_SCROLL, "VK_SCROLL", 0x46, false},
    {VK_LSHIFT, "VK_LSHIFT", 0x2A, false},   {VK_RSHIFT, "VK_RSHIFT", 0x36, false},
    {VK_LCONTROL, "VK_LCONTROL", 0x1D, false}, {VK_RCONTROL, "VK_RCONTROL", 0x1D, true},
    {VK_LMENU, "VK_LMENU", 0x38, false},     {VK_RMENU, "VK_RMENU", 0x38, true},
    {VK_F1, "VK_F1", 0x3B, false},           {VK_F1 + 1, "VK_F2", 0x3C, false},
    {VK_F1 + 2, "VK_F3", 0x3D, false},       {VK_F1 + 3, "VK_F4", 0x3E, false},
    {VK_F1 + 4, "VK_F5", 0x3F, false},       {VK_F1 + 5, "VK_F6", 0x40, false},
    {VK_F1 + 6, "VK_F7", 0x41, false},       {VK_F1 + 7, "VK_F8", 0x42, false},
    {VK_F1 + 8, "VK_F9", 0x43, false},       {VK_F10, "VK_F10", 0x44, false},
    {VK_F1 + 10, "VK_F11", 0x57, false},     {VK_F12, "VK_F12", 0x58, false},
    {0xBA, "VK_OEM_1", 0x27, false},         {0xBB, "VK_OEM_PLUS", 0x0D, false},
    {0xBC, "VK_OEM_COMMA", 0x33, false},     {0xBD, "VK_OEM_MINUS", 0x0C, false},
    {0xBE, "VK_OEM_PERIOD", 0x34, false},    {0xBF, "VK_OEM_2", 0x35, false},
    {0xC0, "VK_OEM_3", 0x29, false},         {0xDB, "VK_OEM_4", 0x1A, false},
    {0xDC, "VK_OEM_5", 0x2B, false},         {0xDD, "VK_OEM_6", 0x1B, false},
    {0xDE, "VK_OEM_7", 0x28, false},
};

// Scan codes of the letter keys A..Z in the US layout.
constexpr std::array<UINT, 26> kLetterScan{0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

const KeyInfo* Find(int vk) {
    for (const KeyInfo& k : kKeys)
        if (k.vk == vk) return &k;
    return nullptr;
}

char OemChar(int vk, bool shift) {
    switch (vk) {
        case 0xBA: return shift ? ':' : ';';
        case 0xBB: return shift ? '+' : '=';
        case 0xBC: return shift ? '<' : ',';
        case 0xBD: return shift ? '_' : '-';
        case 0xBE: return shift ? '>' : '.';
        case 0xBF: return shift ? '?' : '/';
        case 0xC0: return shift ? '~' : '`';
        case 0xDB: return shift ? '{' : '[';
        case 0xDC: return shift ? '|' : '\\';
        case 0xDD: return shift ? '}' : ']';
        case 0xDE: return shift ? '"' : '\'';
        default: return 0;
    }
}

}  // namespace

UINT ScanCodeOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return kLetterScan[static_cast<std::size_t>(vk - 'A')];
    if (vk >= '1' && vk <= '9') return static_cast<UINT>(0x02 + vk - '1');
    if (vk == '0') return 0x0B;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        constexpr std::array<UINT, 10> pad{0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
        return pad[static_cast<std::size_t>(vk - VK_NUMPAD0)];
    }
    const KeyInfo* k = Find(vk);
    return k ? k->scan : 0;
}

bool IsExtendedKey(int vk) {
    const KeyInfo* k = Find(vk);
    return k && k->extended;
}

int CharForKey(int vk) {
    bool shift = KeyDown(VK_SHIFT);
    bool ctrl = KeyDown(VK_CONTROL);
    bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return vk - 'A' + 1;  // Ctrl+letter gives the control character
        return (shift != caps) ? vk : vk - 'A' + 'a';
    }
    if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return (GetKeyState(VK_NUMLOCK) & 1) ? '0' + vk - VK_NUMPAD0 : 0;
    switch (vk) {
        case VK_SPACE: return ' ';
        case VK_RETURN: return '\r';
        case VK_BACK: return '\b';
        case VK_TAB: return '\t';
        case VK_ESCAPE: return 0x1B;
        case VK_MULTIPLY: return '*';
        case VK_ADD: return '+';
        case VK_SUBTRACT: return '-';
        case VK_DIVIDE: return '/';
        default: return OemChar(vk, shift);
    }
}

int VkFromName(std::string_view name) {
    if (name.size() == 1) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return 0;
    }
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        std::string digits(name.substr(2));
        char* end = nullptr;
        long v = std::strtol(digits.c_str(), &end, 16);
        return (end && *end == '\0' && v > 0 && v < 256 && digits.size() <= 2) ? static_cast<int>(v) : 0;
    }
    for (const KeyInfo& k : kKeys)
        if (name == k.name) return k.vk;
    if (name.starts_with("VK_NUMPAD") && name.size() == 10 && name[9] >= '0' && name[9] <= '9')
        return VK_NUMPAD0 + (name[9] - '0');
    return 0;
}

std::string VkName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (const KeyInfo* k = Find(vk)) return k->name;
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", vk & 0xFF);
    return buf;
}

}  // namespace brimlox::user

UINT MapVirtualKeyA(UINT code, UINT mapType) {
    if (mapType == 0) return brimlox::user::ScanCodeOf(static_cast<int>(code));  // MAPVK_VK_TO_VSC
    if (mapType == 2) {                                                          // MAPVK_VK_TO_CHAR
        int vk = static_cast<int>(code);
        if (vk >= 'A' && vk <= 'Z') return code;
        if (vk >= '0' && vk <= '9') return code;
        return vk == VK_SPACE ? ' ' : 0;
    }
    return 0;
}
