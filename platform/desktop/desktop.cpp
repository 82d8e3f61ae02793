// The desktop singleton: screen, clock, input staging and composition of top-level windows.
#include "platform/desktop/desktop.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/gdi/trace_surface.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::desktop {

// The constructor touches no window: the window manager asks for this object while it starts.
Desktop::Desktop() : clock_(std::make_unique<VirtualClock>()) {
    screen_ = gdi::Surface::CreateFilled(settings_.width, settings_.height, gdi::PixelFormat::Bgrx32,
                                         gdi::ToPixel(GetSysColor(COLOR_BACKGROUND)));
}

bool Desktop::Configure(const DesktopSettings& settings) {
    DesktopSettings wanted = settings;
    wanted.width = std::clamp(settings.width, 1, gdi::kMaxSurfaceSide);
    wanted.height = std::clamp(settings.height, 1, gdi::kMaxSurfaceSide);
    wanted.twipsPerPixel = std::max(1, settings.twipsPerPixel);
    auto screen = gdi::Surface::Create(wanted.width, wanted.height, gdi::PixelFormat::Bgrx32);
    if (!screen) return false;
    settings_ = wanted;
    screen_ = std::move(screen);
    gdi::SetTwipsPerPixel(settings_.twipsPerPixel);
    user::DesktopWindowObject();  // follows the new screen size
    user::RetargetWindowDcs();
    ComposeAll();
    return true;
}

void Desktop::UseVirtualClock(std::uint64_t startMs) { clock_ = std::make_unique<VirtualClock>(startMs); }
void Desktop::UseRealClock() { clock_ = std::make_unique<RealClock>(); }

void Desktop::SetInputSource(std::unique_ptr<InputSource> source) {
    source_ = std::move(source);
    lastInputTime_ = Now();
}

namespace {

// Member by member: callers fill an event field by field just before injecting it, and a copy
// of the whole struct reads x and y with one wide load that cannot be served from the two
// narrow stores still in flight (a failed store-to-load forward costs more than the copy).
// Injected events travel this way into the queue and out of it again.
void CopyEvent(const InputEvent& from, InputEvent& to) {
    static_assert(sizeof(InputEvent) == 56, "a member added to InputEvent must be copied here too");
    to.type = from.type;
    to.timeMs = from.timeMs;
    // Compiler barriers keep the compiler from merging the reads of x and y (and their
    // neighbours) into one wide load again: each is read the way it was written.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    to.x = from.x;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    to.y = from.y;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    to.button = from.button;
    to.vk = from.vk;
    to.extended = from.extended;
    to.name = from.name;
    to.line = from.line;
    to.force = from.force;
}

}  // namespace

void Desktop::Inject(const InputEvent& event) { CopyEvent(event, injected_.emplace_back()); }

std::optional<std::uint64_t> Desktop::NextInputTime() {
    if (!injected_.empty()) return std::min(injected_.front().timeMs, Now());
    return source_ ? source_->NextTime() : std::nullopt;
}

bool Desktop::TakeDueInput(std::uint64_t now, InputEvent& out) {
    if (!injected_.empty()) {
        CopyEvent(injected_.front(), out);
        injected_.pop_front();
    } else if (std::optional<InputEvent> e = source_ ? source_->TakeDue(now) : std::nullopt) {
        out = std::move(*e);
    } else {
        return false;
    }
    lastInputTime_ = std::max(lastInputTime_, out.timeMs);
    return true;
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

bool Overlap(const RECT& a, const RECT& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The visible top-level windows that reach into `area`, topmost first, down to the first that
// covers all of it: nothing beneath that one shows there.
void LayersOver(const RECT& area, std::vector<Layer>& layers) {
    layers.clear();
    for (HWND h : user::DesktopWindowObject().children) {
        user::WindowObject* w = user::LookupWindow(h);
        if (!w || !w->Visible() || !w->surface) continue;
        RECT r{w->rect.left, w->rect.top, w->rect.left + w->surface->Width(), w->rect.top + w->surface->Height()};
        r.right = std::min(r.right, w->rect.right);
        r.bottom = std::min(r.bottom, w->rect.bottom);
        if (!Overlap(r, area)) continue;
        layers.push_back(Layer{r, w->surface.get()});
        if (Contains(r, area)) return;
    }
}

// A run of screen columns that one window shows, or that shows the background (no layer).
struct Run {
    int left;
    int right;
    const Layer* layer;
};

// The rows of `area` split where a layer begins or ends: inside one band every row is
// divided among the layers the same way.
void BandEdges(const RECT& area, const std::vector<Layer>& layers, std::vector<int>& edges) {
    edges.assign({static_cast<int>(area.top), static_cast<int>(area.bottom)});
    for (const Layer& layer : layers) {
        for (LONG y : {layer.rect.top, layer.rect.bottom})
            if (y > area.top && y < area.bottom) edges.push_back(static_cast<int>(y));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
}

// Divides the columns of `area` for rows starting at `y`: each column belongs to the first
// layer over it, from the top down, or to the background. Runs come back left to right.
void SplitBand(int y, const RECT& area, const std::vector<Layer>& layers, std::vector<Run>& runs,
               std::vector<Run>& open, std::vector<Run>& next) {
    runs.clear();
    open.assign(1, Run{static_cast<int>(area.left), static_cast<int>(area.right), nullptr});
    for (const Layer& layer : layers) {
        if (open.empty()) break;
        if (y < layer.rect.top || y >= layer.rect.bottom) continue;
        next.clear();
        for (const Run& gap : open) {
            const int l = std::max(gap.left, static_cast<int>(layer.rect.left));
            const int r = std::min(gap.right, static_cast<int>(layer.rect.right));
            if (l >= r) {
                next.push_back(gap);
                continue;
            }
            runs.push_back(Run{l, r, &layer});
            if (gap.left < l) next.push_back(Run{gap.left, l, nullptr});
            if (r < gap.right) next.push_back(Run{r, gap.right, nullptr});
        }
        std::swap(open, next);
    }
    runs.insert(runs.end(), open.begin(), open.end());
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.left < b.left; });
}

// A run as one band's rows copy it: where it lands in a screen row, and where its pixels start
// in the layer's row for the band's first row and how far the next row's are (a layer may be
// stored bottom-up). No source: the run shows the background.
struct Span {
    int left;
    std::size_t count;
    const std::uint8_t* source;
    std::ptrdiff_t step;
};

void SpansOfBand(const std::vector<Run>& runs, int top, std::vector<Span>& spans) {
    spans.clear();
    for (const Run& run : runs) {
        Span span{run.left, static_cast<std::size_t>(run.right - run.left), nullptr, 0};
        if (const Layer* layer = run.layer) {
            const gdi::Surface& surface = *layer->surface;
            span.source = surface.Row(top - layer->rect.top) + static_cast<std::size_t>(run.left - layer->rect.left) * 4;
            span.step = surface.RowStep();
        }
        spans.push_back(span);
    }
}

// Writes the band's row `index` to the screen row left to right, so the screen is written as
// one forward stream.
void ComposeRow(std::uint32_t* row, const std::vector<Span>& spans, std::ptrdiff_t index, std::uint32_t background) {
    for (const Span& span : spans) {
        if (span.source) {
            std::memcpy(row + span.left, span.source + index * span.step, span.count * 4);
        } else {
            gdi::FillPixels32(row + span.left, span.count, background);
        }
    }
}

// The lists one composition works with, kept from one to the next: a button's repaint composes
// a few hundred pixels, where allocating five lists would cost more than copying them.
struct ComposeScratch {
    std::vector<Layer> layers;
    std::vector<int> edges;
    std::vector<Run> runs, open, next;
    std::vector<Span> spans;
};

// A band that one window shows from edge to edge is a rectangle copy. Its loop keeps the
// addresses in registers: across the call that copies a row, the general loop must read the
// span list and the screen's layout again for every row, which costs as much as copying a
// button-wide row.
void CopyRows(gdi::Surface& screen, const Span& span, int top, int bottom) {
    std::uint8_t* target = reinterpret_cast<std::uint8_t*>(screen.Row32(top) + span.left);
    const std::ptrdiff_t targetStep = screen.RowStep();
    const std::uint8_t* source = span.source;
    const std::ptrdiff_t sourceStep = span.step;
    const std::size_t bytes = span.count * 4;
    for (std::ptrdiff_t i = 0, rows = bottom - top; i < rows; ++i)
        std::memcpy(target + i * targetStep, source + i * sourceStep, bytes);
}

// Writes the screen rows top to bottom - 1 from the runs of their band.
void ComposeBand(gdi::Surface& screen, ComposeScratch& s, int top, int bottom, std::uint32_t background) {
    SpansOfBand(s.runs, top, s.spans);
    if (s.spans.size() == 1 && s.spans.front().source) return CopyRows(screen, s.spans.front(), top, bottom);
    for (int y = top; y < bottom; ++y) ComposeRow(screen.Row32(y), s.spans, y - top, background);
}

// One set for the process, as there is one desktop: a thread-local set in a shared library
// costs a call to find it on every composition. Never destroyed, because windows destroyed by
// static destructors at exit may still compose.
ComposeScratch& Scratch() {
    static ComposeScratch* scratch = new ComposeScratch();
    return *scratch;
}

}  // namespace

void Desktop::Compose(const RECT& screenRect) {
    RECT area;
    RECT bounds = screen_->Bounds();
    if (!IntersectRect(&area, &screenRect, &bounds)) return;
    if (batchDepth_ > 0) NotePending(area);
    else ComposeNow(area);
}

namespace {

// More separate areas than this are composed as their bounding rectangle.
constexpr std::size_t kMostPendingAreas = 16;

}  // namespace

// A parent's area usually holds its children's, so nested areas are kept once.
void Desktop::NotePending(const RECT& area) {
    for (const RECT& r : pendingCompose_)
        if (Contains(r, area)) return;
    std::erase_if(pendingCompose_, [&](const RECT& r) { return Contains(area, r); });
    pendingCompose_.push_back(area);
    if (pendingCompose_.size() <= kMostPendingAreas) return;
    RECT all = pendingCompose_.front();
    for (const RECT& r : pendingCompose_) UnionRect(&all, &all, &r);
    pendingCompose_.assign(1, all);
}

void Desktop::EndComposeBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) FlushComposition();
}

void Desktop::FlushComposition() {
    std::vector<RECT> areas;
    areas.swap(pendingCompose_);
    for (const RECT& area : areas) ComposeNow(area);
}

void Desktop::ComposeNow(const RECT& area) {
    ComposeScratch& s = Scratch();
    LayersOver(area, s.layers);
    const std::uint32_t background = gdi::ToPixel(GetSysColor(COLOR_BACKGROUND));
    BandEdges(area, s.layers, s.edges);
    for (std::size_t band = 0; band + 1 < s.edges.size(); ++band) {
        SplitBand(s.edges[band], area, s.layers, s.runs, s.open, s.next);
        ComposeBand(*screen_, s, s.edges[band], s.edges[band + 1], background);
    }
    // The screen changed without a GDI call; a drawing trace must describe it again.
    gdi::TraceSurfaceChanged(*screen_);
    ++frameSerial_;
}

void Desktop::Reset() {
    batchDepth_ = 0;
    pendingCompose_.clear();
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
