// StdFont: the host's font object. Controls and forms hold one as their Font property; code
// may share one font between several owners. Every change tells the owners (so they reselect
// it into their surface) and drops the cached HFONT, which is made again on demand with
// CreateFontIndirectA at the host's scale (points -> pixels with the screen's twips per pixel).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/variant.h"

namespace brimlox::host {

class StdFont : public Dispatch {
public:
    StdFont();
    ~StdFont() override;
    StdFont(const StdFont&) = delete;
    StdFont& operator=(const StdFont&) = delete;

    std::string TypeName() const override { return "Font"; }
    const TypeInfo* GetTypeInfo() const override;

    std::string Name() const { return name_; }
    void SetName(std::string name);
    float Size() const { return size_; }
    void SetSize(float points);
    bool Bold() const { return weight_ >= 600; }
    void SetBold(bool bold);
    bool Italic() const { return italic_; }
    void SetItalic(bool v);
    bool Underline() const { return underline_; }
    void SetUnderline(bool v);
    bool Strikethrough() const { return strike_; }
    void SetStrikethrough(bool v);
    std::int16_t Weight() const { return weight_; }
    void SetWeight(std::int16_t weight);
    std::int16_t Charset() const { return charset_; }
    void SetCharset(std::int16_t charset);

    // The font as a GDI object, owned by this font; valid until the next change.
    HFONT Handle();
    // A new font with the same attributes (fonts are copied when a control takes the ambient font).
    std::shared_ptr<StdFont> Clone() const;
    bool SameAs(const StdFont& other) const;

    // Owners are told after every change; the id removes the listener again.
    int AddListener(std::function<void()> listener);
    void RemoveListener(int id);

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    float size_ = 8.25f;
    std::int16_t weight_ = 400;
    bool italic_ = false;
    bool underline_ = false;
    bool strike_ = false;
    std::int16_t charset_ = 0;
    HFONT handle_ = nullptr;
    std::vector<std::pair<int, std::function<void()>>> listeners_;
    int nextListener_ = 1;
};

// Registers the form-file codec for fonts (done once by the host's start-up).
void RegisterFontCodec();

}  // namespace brimlox::host
