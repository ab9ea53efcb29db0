// Keysym tables. The virtual-key code follows the US layout, as Win32 does
// for the OEM keys: the key that types ';' is VK_OEM_1 whatever it types.
#include "backend/x11/x11_keys.h"

#include <winuser.h>

#include <X11/keysym.h>

#include <iterator>

namespace vk {

namespace {

struct KeyEntry {
    unsigned long keysym;
    unsigned vk;
};

const KeyEntry kKeyTable[] = {
    {XK_BackSpace, VK_BACK},   {XK_Tab, VK_TAB},           {XK_ISO_Left_Tab, VK_TAB},
    {XK_Clear, VK_CLEAR},      {XK_Return, VK_RETURN},     {XK_Pause, VK_PAUSE},
    {XK_Scroll_Lock, VK_SCROLL}, {XK_Sys_Req, VK_SNAPSHOT}, {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},    {XK_Home, VK_HOME},         {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},            {XK_Right, VK_RIGHT},       {XK_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},      {XK_Next, VK_NEXT},         {XK_End, VK_END},
    {XK_Begin, VK_CLEAR},      {XK_Select, VK_SELECT},     {XK_Print, VK_SNAPSHOT},
    {XK_Execute, VK_EXECUTE},  {XK_Insert, VK_INSERT},     {XK_Menu, VK_APPS},
    {XK_Help, VK_HELP},        {XK_Break, VK_CANCEL},      {XK_Num_Lock, VK_NUMLOCK},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Shift_L, VK_SHIFT},    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},       {XK_Alt_R, VK_MENU},        {XK_Meta_L, VK_MENU},
    {XK_Meta_R, VK_MENU},      {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Super_L, VK_LWIN},     {XK_Super_R, VK_RWIN},
    {XK_space, VK_SPACE},
    // Keypad: with Num Lock the digits, without it the cursor keys.
    {XK_KP_Space, VK_SPACE},   {XK_KP_Tab, VK_TAB},        {XK_KP_Enter, VK_RETURN},
    {XK_KP_Home, VK_HOME},     {XK_KP_Left, VK_LEFT},      {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},   {XK_KP_Down, VK_DOWN},      {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},     {XK_KP_End, VK_END},        {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Insert, VK_INSERT}, {XK_KP_Delete, VK_DELETE},  {XK_KP_Equal, VK_OEM_PLUS},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},    {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    // OEM keys, by either of the characters the US key types.
    {XK_semicolon, VK_OEM_1},  {XK_colon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},   {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},  {XK_less, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},  {XK_underscore, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD}, {XK_greater, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},      {XK_question, VK_OEM_2},
    {XK_grave, VK_OEM_3},      {XK_asciitilde, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4}, {XK_braceleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},  {XK_bar, VK_OEM_5},
    {XK_bracketright, VK_OEM_6}, {XK_braceright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7}, {XK_quotedbl, VK_OEM_7},
    // Shifted digits of the US layout map to their digit key.
    {XK_exclam, '1'}, {XK_at, '2'}, {XK_numbersign, '3'}, {XK_dollar, '4'}, {XK_percent, '5'},
    {XK_asciicircum, '6'}, {XK_ampersand, '7'}, {XK_asterisk, '8'}, {XK_parenleft, '9'},
    {XK_parenright, '0'},
};

} // namespace

unsigned vkFromKeysym(unsigned long ks)
{
    if (ks >= XK_a && ks <= XK_z)
        return unsigned('A' + (ks - XK_a));
    if (ks >= XK_A && ks <= XK_Z)
        return unsigned('A' + (ks - XK_A));
    if (ks >= XK_0 && ks <= XK_9)
        return unsigned('0' + (ks - XK_0));
    if (ks >= XK_F1 && ks <= XK_F24) // VK_F1..VK_F24 are consecutive
        return unsigned(VK_F1 + (ks - XK_F1));
    if (ks >= XK_KP_0 && ks <= XK_KP_9)
        return unsigned(VK_NUMPAD0 + (ks - XK_KP_0));
    for (const KeyEntry& e : kKeyTable)
        if (e.keysym == ks)
            return e.vk;
    // Letters of other Latin-1 layouts (é, ü, ...) have no US key; Win32
    // gives them an OEM code, which we cannot know here.
    return 0;
}

bool isKeypadKeysym(unsigned long ks)
{
    return ks >= XK_KP_Space && ks <= XK_KP_Equal;
}

void appendUtf8(std::string& out, unsigned cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string keysymText(unsigned long ks)
{
    unsigned cp = 0;
    if ((ks >= 0x20 && ks <= 0x7E) || (ks >= 0xA0 && ks <= 0xFF)) {
        cp = unsigned(ks); // Latin-1 keysyms are their own code points
    } else if ((ks & 0xFF000000UL) == 0x01000000UL) {
        cp = unsigned(ks & 0x00FFFFFFUL);
    } else if (ks >= XK_KP_0 && ks <= XK_KP_9) {
        cp = unsigned('0' + (ks - XK_KP_0));
    } else {
        switch (ks) {
        case XK_BackSpace: cp = 0x08; break;
        case XK_Tab: case XK_KP_Tab: case XK_ISO_Left_Tab: cp = 0x09; break;
        case XK_Return: case XK_KP_Enter: cp = 0x0D; break;
        case XK_Escape: cp = 0x1B; break;
        case XK_KP_Space: cp = ' '; break;
        case XK_KP_Equal: cp = '='; break;
        case XK_KP_Multiply: cp = '*'; break;
        case XK_KP_Add: cp = '+'; break;
        case XK_KP_Separator: cp = ','; break;
        case XK_KP_Subtract: cp = '-'; break;
        case XK_KP_Decimal: cp = '.'; break;
        case XK_KP_Divide: cp = '/'; break;
        case XK_EuroSign: cp = 0x20AC; break;
        default: return {};
        }
    }
    std::string s;
    appendUtf8(s, cp);
    return s;
}

} // namespace vk
