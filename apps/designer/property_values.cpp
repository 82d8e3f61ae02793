// Value texts and typed-text conversion per property kind.
#include "apps/designer/property_values.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/host/font.h"
#include "platform/host/host_error.h"
#include "platform/host/picture.h"

namespace brimlox::designer {

namespace {

// The host's names of the system colours, by COLOR_* index.
constexpr const char* kSystemColorNames[kSystemColorCount] = {
    "vbScrollBars",       "vbDesktop",           "vbActiveTitleBar",       "vbInactiveTitleBar",
    "vbMenuBar",          "vbWindowBackground",  "vbWindowFrame",          "vbMenuText",
    "vbWindowText",       "vbTitleBarText",      "vbActiveBorder",         "vbInactiveBorder",
    "vbApplicationWorkspace", "vbHighlight",     "vbHighlightText",        "vbButtonFace",
    "vbButtonShadow",     "vbGrayText",          "vbButtonText",           "vbInactiveCaptionText",
    "vb3DHighlight",      "vb3DDKShadow",        "vb3DLight",              "vbInfoText",
    "vbInfoBackground"};

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

bool ContainsText(std::string_view text, std::string_view part) {
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at)
        if (SameText(text.substr(at, part.size()), part)) return true;
    return false;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

[[noreturn]] void Mismatch(std::string_view text, const std::string& expected) {
    throw host::HostError(host::kErrTypeMismatch,
                          "Type mismatch: \"" + std::string(text) + "\" is not " + expected + ".");
}

double NumberOf(std::string_view text, const std::string& expected) {
    double number = 0;
    if (!host::ParseNumber(std::string(text), &number)) Mismatch(text, expected);
    return number;
}

// A number of the same width as `current` (the host raises 6 when it does not fit).
host::Variant NumberLike(double number, const host::Variant& current) {
    const host::Variant wide(number);
    switch (current.Type()) {
    case host::VarType::Byte: return host::Variant(wide.ToByte());
    case host::VarType::Integer: return host::Variant(wide.ToInteger());
    case host::VarType::Long: return host::Variant(wide.ToLong());
    case host::VarType::Single: return host::Variant(wide.ToSingle());
    default: return wide;
    }
}

std::string NumberText(const host::Variant& value) {
    switch (value.Type()) {
    case host::VarType::Single: return host::FormatNumber(value.ToDouble(), 7);
    case host::VarType::Double: return host::FormatNumber(value.ToDouble(), 15);
    default: return value.ToString();
    }
}

std::string EnumerationText(const host::Variant& value, const host::ValueRule& rule) {
    const std::int32_t number = value.ToLong();
    for (const auto& m : rule.enumeration)
        if (m.value == number) return std::to_string(number) + " - " + m.name;
    return std::to_string(number);
}

std::string ColorText(const host::Variant& value) {
    const std::int32_t color = value.ToLong();
    if (auto name = SystemColorName(color)) return *name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "&H%08X&", static_cast<std::uint32_t>(color));
    return hex;
}

std::string FontText(const host::Variant& value) {
    auto font = value.As<host::StdFont>();
    if (!font) return "(None)";
    std::string text = font->Name() + ", " + host::FormatNumber(font->Size(), 7);
    if (font->Bold() || font->Italic()) text += ",";
    if (font->Bold()) text += " Bold";
    if (font->Italic()) text += " Italic";
    return text;
}

std::string PictureText(const host::Variant& value) {
    auto picture = value.As<host::StdPicture>();
    return picture && picture->Type() != host::PictureType::None ? "(Picture)" : "(None)";
}

host::Variant ParseBoolean(std::string_view text) {
    const std::string t = Trimmed(text);
    if (SameText(t, "True")) return host::Variant(true);
    if (SameText(t, "False")) return host::Variant(false);
    return host::Variant(NumberOf(t, "True, False or a number") != 0);
}

// "2 - Outlined", "2" or "Outlined".
host::Variant ParseEnumeration(std::string_view text, const host::ValueRule& rule, const host::Variant& current) {
    std::string t = Trimmed(text);
    const auto dash = t.find(" - ");
    if (dash != std::string::npos) t = Trimmed(std::string_view(t).substr(0, dash));
    for (const auto& m : rule.enumeration)
        if (SameText(t, m.name)) return NumberLike(m.value, current);
    double number = 0;
    if (!host::ParseNumber(t, &number) || number != static_cast<double>(static_cast<std::int32_t>(number)))
        Mismatch(text, "a value of the list or its number");
    // A number outside the list goes to the control, which refuses it with its own error.
    return NumberLike(number, current);
}

// "&H00BBGGRR&", a number, or a system colour's name.
host::Variant ParseColor(std::string_view text) {
    std::string t = Trimmed(text);
    if (auto system = SystemColorByName(t)) return host::Variant(*system);
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        std::string digits = t.substr(2);
        if (!digits.empty() && digits.back() == '&') digits.pop_back();
        const bool hex = !digits.empty() && digits.size() <= 8 &&
                         std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
        if (!hex) Mismatch(text, "a colour (&H00BBGGRR&, a number or a system colour name)");
        return host::Variant(static_cast<std::int32_t>(std::stoul(digits, nullptr, 16)));
    }
    return host::Variant(host::Variant(NumberOf(t, "a colour (&H00BBGGRR&, a number or a system colour name)")).ToLong());
}

// Sets the font's bold and italic from "Bold", "Italic", "Bold Italic" or "Regular".
void ParseFontStyle(std::string_view style, std::string_view text, host::StdFont& font) {
    bool bold = false, italic = false;
    std::size_t at = 0;
    while (at < style.size()) {
        const auto end = std::min(style.find(' ', at), style.size());
        const std::string_view word = style.substr(at, end - at);
        if (SameText(word, "Bold")) bold = true;
        else if (SameText(word, "Italic")) italic = true;
        else if (!word.empty() && !SameText(word, "Regular")) Mismatch(text, "a font (name, size, Bold Italic)");
        at = end + 1;
    }
    font.SetBold(bold);
    font.SetItalic(italic);
}

// "Name, size, style", "Name, size" or "Name": a copy of the present font with that face,
// size (else the present one) and style (else regular).
host::Variant ParseFont(std::string_view text, const host::Variant& current) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at <= text.size();) {
        const auto comma = std::min(text.find(',', at), text.size());
        parts.push_back(Trimmed(text.substr(at, comma - at)));
        at = comma + 1;
    }
    if (parts.size() > 3 || parts.front().empty()) Mismatch(text, "a font (name, size, Bold Italic)");
    auto present = current.As<host::StdFont>();
    std::shared_ptr<host::StdFont> font = present ? present->Clone() : std::make_shared<host::StdFont>();
    font->SetName(parts.front());
    if (parts.size() > 1) {
        // The font refuses a size out of its range with its own error.
        font->SetSize(static_cast<float>(NumberOf(parts[1], "a font size")));
    }
    ParseFontStyle(parts.size() > 2 ? std::string_view(parts[2]) : std::string_view(), text, *font);
    return host::Variant(std::shared_ptr<host::Dispatch>(font));
}

// "(None)" or nothing clears the picture; other text names a picture file.
host::Variant ParsePicture(std::string_view text) {
    const std::string t = Trimmed(text);
    if (t.empty() || SameText(t, "(None)")) return host::Variant(std::shared_ptr<host::Dispatch>(host::LoadPicture()));
    return host::Variant(std::shared_ptr<host::Dispatch>(host::LoadPicture(t)));
}

}  // namespace

PropertyKind KindOf(const host::MemberInfo& member, const host::Variant& value) {
    if (!member.values.enumeration.empty()) return PropertyKind::Enumeration;
    switch (value.Type()) {
    case host::VarType::Boolean: return PropertyKind::Boolean;
    case host::VarType::String:
    case host::VarType::Empty: return PropertyKind::Text;
    case host::VarType::Object: {
        auto object = value.ToObject();
        if (object && object->TypeName() == "Font") return PropertyKind::Font;
        if (object && object->TypeName() == "Picture") return PropertyKind::Picture;
        // A picture property that holds Nothing is still a picture property.
        if (!object && (EndsWithText(member.name, "Picture") || EndsWithText(member.name, "Icon")))
            return PropertyKind::Picture;
        return PropertyKind::Object;
    }
    case host::VarType::Long:
    case host::VarType::Double:
        // OLE colours are 32-bit values; their properties are named after them (BackColor,
        // ButtonColorDn, FontColor3D).
        if (ContainsText(member.name, "Color")) return PropertyKind::Color;
        return PropertyKind::Number;
    default: return PropertyKind::Number;
    }
}

std::optional<std::string> SystemColorName(std::int32_t color) {
    const auto bits = static_cast<std::uint32_t>(color);
    if ((bits & 0xFFFFFF00u) != kSystemColorFlag || (bits & 0xFFu) >= kSystemColorCount) return std::nullopt;
    return kSystemColorNames[bits & 0xFFu];
}

std::optional<std::int32_t> SystemColorByName(std::string_view name) {
    for (int i = 0; i < kSystemColorCount; ++i)
        if (SameText(name, kSystemColorNames[i]))
            return static_cast<std::int32_t>(kSystemColorFlag | static_cast<std::uint32_t>(i));
    return std::nullopt;
}

const char* const* SystemColorNames() { return kSystemColorNames; }

std::string ValueText(PropertyKind kind, const host::Variant& value, const host::ValueRule& rule) {
    switch (kind) {
    case PropertyKind::Text: return value.IsEmpty() ? std::string() : value.ToString();
    case PropertyKind::Number: return NumberText(value);
    case PropertyKind::Boolean: return value.ToBool() ? "True" : "False";
    case PropertyKind::Enumeration: return EnumerationText(value, rule);
    case PropertyKind::Color: return ColorText(value);
    case PropertyKind::Font: return FontText(value);
    case PropertyKind::Picture: return PictureText(value);
    case PropertyKind::Object: {
        auto object = value.ToObject();
        return object ? "(" + object->TypeName() + ")" : "(None)";
    }
    }
    return {};
}

host::Variant ParseValue(PropertyKind kind, std::string_view text, const host::ValueRule& rule,
                         const host::Variant& current) {
    switch (kind) {
    case PropertyKind::Text: return host::Variant(std::string(text));
    case PropertyKind::Number: return NumberLike(NumberOf(text, "a number"), current);
    case PropertyKind::Boolean: return ParseBoolean(text);
    case PropertyKind::Enumeration: return ParseEnumeration(text, rule, current);
    case PropertyKind::Color: return ParseColor(text);
    case PropertyKind::Font: return ParseFont(text, current);
    case PropertyKind::Picture: return ParsePicture(text);
    case PropertyKind::Object: break;
    }
    Mismatch(text, "a value this grid can set (an object)");
}

}  // namespace brimlox::designer
