#include "platform/host/font.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/desktop/desktop.h"
#include "platform/host/host_error.h"
#include "platform/host/property_bag.h"
#include "platform/host/type_builder.h"
#include "platform/json/numbers.h"

namespace brimlox::host {

StdFont::StdFont() = default;

StdFont::~StdFont() {
    if (handle_) DeleteObject(handle_);
}

const TypeInfo* StdFont::GetTypeInfo() const {
    static const auto info = TypeBuilder<StdFont>("Font")
                                 .Property("Name", &StdFont::Name, &StdFont::SetName, "The face name.", 0)
                                 .Property("Size", &StdFont::Size, &StdFont::SetSize, "The size in points.", 2)
                                 .Property("Bold", &StdFont::Bold, &StdFont::SetBold, "Bold face.", 3)
                                 .Property("Italic", &StdFont::Italic, &StdFont::SetItalic, "Italic face.", 4)
                                 .Property("Underline", &StdFont::Underline, &StdFont::SetUnderline, "Underlined.", 5)
                                 .Property("Strikethrough", &StdFont::Strikethrough, &StdFont::SetStrikethrough,
                                           "Struck through.", 6)
                                 .Property("Weight", &StdFont::Weight, &StdFont::SetWeight, "The weight (100-900).", 7)
                                 .Property("Charset", &StdFont::Charset, &StdFont::SetCharset, "The character set.", 8)
                                 .Build();
    return info.get();
}

void StdFont::SetName(std::string name) {
    // The face name field of a LOGFONT holds 31 characters and the terminator.
    if (name.empty()) throw HostError(kErrInvalidPropertyValue);
    name_ = name.substr(0, LF_FACESIZE - 1);
    Changed();
}

void StdFont::SetSize(float points) {
    if (!(points > 0.0f) || points > 2160.0f) throw HostError(kErrInvalidPropertyValue);
    size_ = points;
    Changed();
}

void StdFont::SetBold(bool bold) {
    weight_ = bold ? 700 : 400;
    Changed();
}

void StdFont::SetItalic(bool v) {
    italic_ = v;
    Changed();
}

void StdFont::SetUnderline(bool v) {
    underline_ = v;
    Changed();
}

void StdFont::SetStrikethrough(bool v) {
    strike_ = v;
    Changed();
}

void StdFont::SetWeight(std::int16_t weight) {
    if (weight < 0 || weight > 1000) throw HostError(kErrInvalidPropertyValue);
    weight_ = weight;
    Changed();
}

void StdFont::SetCharset(std::int16_t charset) {
    if (charset < 0 || charset > 255) throw HostError(kErrInvalidPropertyValue);
    charset_ = charset;
    Changed();
}

HFONT StdFont::Handle() {
    if (handle_) return handle_;
    LOGFONTA lf{};
    // Points to pixels: one point is 20 twips, and the host says how many twips make a pixel.
    int tpp = std::max(1, desktop::Desktop::Instance().Settings().twipsPerPixel);
    lf.lfHeight = -static_cast<LONG>(RoundHalfEven(size_ * 20.0 / tpp));
    lf.lfWeight = weight_;
    lf.lfItalic = italic_;
    lf.lfUnderline = underline_;
    lf.lfStrikeOut = strike_;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
    return handle_;
}

std::shared_ptr<StdFont> StdFont::Clone() const {
    auto copy = std::make_shared<StdFont>();
    copy->name_ = name_;
    copy->size_ = size_;
    copy->weight_ = weight_;
    copy->italic_ = italic_;
    copy->underline_ = underline_;
    copy->strike_ = strike_;
    copy->charset_ = charset_;
    return copy;
}

bool StdFont::SameAs(const StdFont& o) const {
    return name_ == o.name_ && size_ == o.size_ && weight_ == o.weight_ && italic_ == o.italic_ &&
           underline_ == o.underline_ && strike_ == o.strike_ && charset_ == o.charset_;
}

int StdFont::AddListener(std::function<void()> listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void StdFont::RemoveListener(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void StdFont::Changed() {
    HFONT old = handle_;
    handle_ = nullptr;
    // Listeners reselect the new handle before the old one goes, so no DC holds a dead font.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) listener();
    if (old) DeleteObject(old);
}

namespace {

OrderedJson SaveFont(const Dispatch& d) {
    const auto& f = static_cast<const StdFont&>(d);
    OrderedJson j{{"Name", f.Name()}, {"Size", f.Size()}, {"Weight", f.Weight()}};
    if (f.Italic()) j["Italic"] = true;
    if (f.Underline()) j["Underline"] = true;
    if (f.Strikethrough()) j["Strikethrough"] = true;
    if (f.Charset() != 0) j["Charset"] = f.Charset();
    return j;
}

// Reads one attribute, refusing wrong types and out-of-range values with the attribute's path.
template <typename Check>
const OrderedJson* Field(const OrderedJson& j, const char* key, const std::string& path, Check ok, const char* what) {
    if (!j.contains(key)) return nullptr;
    const OrderedJson& v = j[key];
    if (!ok(v)) throw FormFileError(path + "." + key, what);
    return &v;
}

std::shared_ptr<Dispatch> LoadFont(const OrderedJson& j, const std::string& path) {
    if (!j.is_object()) throw FormFileError(path, "a font must be a JSON object");
    for (const auto& item : j.items()) {
        const std::string& key = item.key();  // a named variable: clang 14 cannot capture structured bindings in lambdas
        static const char* kKeys[] = {"Name", "Size", "Weight", "Italic", "Underline", "Strikethrough", "Charset"};
        if (std::find_if(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; }) == std::end(kKeys))
            throw FormFileError(path + "." + key, "unknown font attribute");
    }
    auto font = std::make_shared<StdFont>();
    auto isBool = [](const OrderedJson& v) { return v.is_boolean(); };
    if (auto v = Field(j, "Name", path, [](auto& v) { return v.is_string() && !v.template get<std::string>().empty(); },
                       "expected a non-empty face name"))
        font->SetName(v->template get<std::string>());
    if (auto v = Field(j, "Size", path, [](auto& v) { return v.is_number() && v.template get<double>() > 0 && v.template get<double>() <= 2160; },
                       "expected a size in points between 0 and 2160"))
        font->SetSize(v->template get<float>());
    if (auto v = Field(j, "Weight", path, [](auto& v) { return json::IntegerIn(v, 0, 1000); },
                       "expected a weight from 0 to 1000"))
        font->SetWeight(static_cast<std::int16_t>(v->template get<int>()));
    if (auto v = Field(j, "Italic", path, isBool, "expected true or false")) font->SetItalic(v->get<bool>());
    if (auto v = Field(j, "Underline", path, isBool, "expected true or false")) font->SetUnderline(v->get<bool>());
    if (auto v = Field(j, "Strikethrough", path, isBool, "expected true or false")) font->SetStrikethrough(v->get<bool>());
    if (auto v = Field(j, "Charset", path, [](auto& v) { return json::IntegerIn(v, 0, 255); },
                       "expected a character set from 0 to 255"))
        font->SetCharset(static_cast<std::int16_t>(v->template get<int>()));
    return font;
}

}  // namespace

void RegisterFontCodec() { RegisterObjectCodec("Font", ObjectCodec{SaveFont, LoadFont}); }

}  // namespace brimlox::host
