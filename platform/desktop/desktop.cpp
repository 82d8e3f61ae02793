// The desktop singleton: screen, clock, input staging and composition of top-level windows.
#include "platform/desktop/desktop.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::desktop {

Desktop& Desktop::Instance() {
    static Desktop desktop;
    return desktop;
}

// The constructor touches no window: the window manager asks for this object while it starts.
Desktop::Desktop() : clock_(std::make_unique<VirtualClock>()) {
    screen_ = gdi::Surface::Create(settings_.width, settings_.height, gdi::PixelFormat::Bgrx32);
    screen_->Clear(gdi::ToPixel(GetSysColor(COLOR_BACKGROUND)));
}

void Desktop::Configure(const DesktopSettings& settings) {
    settings_ = settings;
    settings_.width = std::clamp(settings.width, 1, gdi::kMaxSurfaceSide);
    settings_.height = std::clamp(settings.height, 1, gdi::kMaxSurfaceSide);
    settings_.twipsPerPixel = std::max(1, settings.twipsPerPixel);
    gdi::SetTwipsPerPixel(settings_.twipsPerPixel);
    screen_ = gdi::Surface::Create(settings_.width, settings_.height, gdi::PixelFormat::Bgrx32);
    user::DesktopWindowObject();  // follows the new screen size
    user::RetargetWindowDcs();
    ComposeAll();
}

void Desktop::UseVirtualClock(std::uint64_t startMs) { clock_ = std::make_unique<VirtualClock>(startMs); }
void Desktop::UseRealClock() { clock_ = std::make_unique<RealClock>(); }

void Desktop::SetInputSource(std::unique_ptr<InputSource> source) {
    source_ = std::move(source);
    lastInputTime_ = Now();
}

void Desktop::Inject(const InputEvent& event) { injected_.push_back(event); }

std::optional<std::uint64_t> Desktop::NextInputTime() {
    if (!injected_.empty()) return std::min(injected_.front().timeMs, Now());
    return source_ ? source_->NextTime() : std::nullopt;
}

std::optional<InputEvent> Desktop::TakeDueInput(std::uint64_t now) {
    std::optional<InputEvent> e;
    if (!injected_.empty()) {
        e = std::move(injected_.front());
        injected_.pop_front();
    } else if (source_) {
        e = source_->TakeDue(now);
    }
    if (e) lastInputTime_ = std::max(lastInputTime_, e->timeMs);
    return e;
}

std::uint64_t Desktop::RunLimit() const {
    if (runLimit_) return runLimit_;
    std::uint64_t end = lastInputTime_;
    if (source_) end = std::max(end, source_->EndTime());
    return end + settleMs_;
}

void Desktop::TakeScreenshot(const std::string& name) {
    if (screenshot_) screenshot_(name);
}

void Desktop::ComposeAll() { Compose(screen_->Bounds()); }

namespace {

// A top-level window as composition sees it: its screen rectangle and its pixels.
struct Layer {
    RECT rect;
    const gdi::Surface* surface;
};

// Pieces of a row not yet covered by a window above; rows rarely split into many.
struct Spans {
    static constexpr int kMax = 64;
    int left[kMax];
    int right[kMax];
    int count = 0;
    void Add(int l, int r) {
        if (count < kMax) left[count] = l, right[count++] = r;
    }
};

// A run of one row that a window shows on the screen.
struct Piece {
    int y;
    int left;
    int right;
};

// Copies a layer's pieces in row order, so its pixels are read as one forward stream.
void CopyPieces(gdi::Surface& screen, const Layer& layer, const std::vector<Piece>& pieces) {
    for (const Piece& p : pieces) {
        const std::uint32_t* src = layer.surface->Row32(p.y - layer.rect.top) + (p.left - layer.rect.left);
        std::memcpy(screen.Row32(p.y) + p.left, src, static_cast<std::size_t>(p.right - p.left) * 4);
    }
}

// The visible top-level windows that reach into `area`, topmost first.
std::vector<Layer> LayersOver(const RECT& area) {
    std::vector<Layer> layers;
    for (HWND h : user::DesktopWindowObject().children) {
        user::WindowObject* w = user::LookupWindow(h);
        if (!w || !w->Visible() || !w->surface) continue;
        RECT r{w->rect.left, w->rect.top, w->rect.left + w->surface->Width(), w->rect.top + w->surface->Height()};
        r.right = std::min(r.right, w->rect.right);
        r.bottom = std::min(r.bottom, w->rect.bottom);
        RECT clipped;
        if (IntersectRect(&clipped, &r, &area)) layers.push_back(Layer{r, w->surface.get()});
    }
    return layers;
}

// Splits row `y` of `area` among the layers: each pixel belongs to the first layer over it,
// from the top down. Appends each layer's runs to its list and leaves in `open` the runs no
// layer covers. The two span lists swap roles per layer instead of being copied.
void SplitRow(int y, const RECT& area, const std::vector<Layer>& layers, std::vector<std::vector<Piece>>& pieces,
              Spans (&buffers)[2], Spans*& open) {
    open = &buffers[0];
    Spans* next = &buffers[1];
    open->left[0] = area.left;
    open->right[0] = area.right;
    open->count = 1;
    for (std::size_t i = 0; i < layers.size() && open->count > 0; ++i) {
        const Layer& layer = layers[i];
        if (y < layer.rect.top || y >= layer.rect.bottom) continue;
        next->count = 0;
        for (int k = 0; k < open->count; ++k) {
            int l = std::max(open->left[k], static_cast<int>(layer.rect.left));
            int r = std::min(open->right[k], static_cast<int>(layer.rect.right));
            if (l >= r) {
                next->Add(open->left[k], open->right[k]);
                continue;
            }
            pieces[i].push_back(Piece{y, l, r});
            if (open->left[k] < l) next->Add(open->left[k], l);
            if (r < open->right[k]) next->Add(r, open->right[k]);
        }
        std::swap(open, next);
    }
}

}  // namespace

void Desktop::Compose(const RECT& screenRect) {
    RECT area;
    RECT bounds = screen_->Bounds();
    if (!IntersectRect(&area, &screenRect, &bounds)) return;
    std::vector<Layer> layers = LayersOver(area);
    const std::uint32_t background = gdi::ToPixel(GetSysColor(COLOR_BACKGROUND));
    // First find, row by row, which window shows where; then copy window by window. Copying
    // one window's pieces in row order reads its pixels as one forward stream, which keeps
    // small pieces cheap.
    std::vector<std::vector<Piece>> pieces(layers.size());
    for (auto& list : pieces) list.reserve(static_cast<std::size_t>(area.bottom - area.top) * 2);
    Spans buffers[2];
    Spans* open = nullptr;
    for (int y = area.top; y < area.bottom; ++y) {
        SplitRow(y, area, layers, pieces, buffers, open);
        std::uint32_t* row = screen_->Row32(y);
        for (int k = 0; k < open->count; ++k) std::fill(row + open->left[k], row + open->right[k], background);
    }
    for (std::size_t i = 0; i < layers.size(); ++i) CopyPieces(*screen_, layers[i], pieces[i]);
    ++frameSerial_;
}

void Desktop::Reset() {
    clock_ = std::make_unique<VirtualClock>();
    source_.reset();
    injected_.clear();
    runLimit_ = 0;
    settleMs_ = 1000;
    lastInputTime_ = 0;
    screenshot_ = nullptr;
    Configure(DesktopSettings{});
}

}  // namespace brimlox::desktop
