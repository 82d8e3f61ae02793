#include "menus_test.h"

#include <vector>

#include "menus/popup_internal.h"
#include "platform/user/timer.h"

namespace brimlox::test {

void MenusTest::SetUp() {
    MenuTest::SetUp();
    menus::ResetAcceleratorRegistry();
    menus::Popup() = menus::PopupState{};
    menus::SetMenuGradient(false);
    menus::SetMenuGradient3D(false);
}

void MenusTest::TearDown() {
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 0u) << "the test left accelerators registered";
    menus::ResetAcceleratorRegistry();
    menus::Popup() = menus::PopupState{};
    menus::SetMenuGradient(false);
    menus::SetMenuGradient3D(false);
    MenuTest::TearDown();
}

void MenusTest::UseScriptFromNow(const std::string& script) {
    std::uint64_t now = desktop::Desktop::Instance().Now();
    UseScript(now ? "wait " + std::to_string(now) + "ms\n" + script : script);
}

namespace {

void Put(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::shared_ptr<host::StdPicture> MakeIconPicture(COLORREF colour) {
    constexpr int kSize = 16;
    std::vector<std::uint8_t> b = {'B', 'M'};
    Put(b, 54 + kSize * kSize * 3, 4);
    Put(b, 0, 4);
    Put(b, 54, 4);
    Put(b, 40, 4);
    Put(b, kSize, 4);
    Put(b, kSize, 4);
    Put(b, 1, 2);
    Put(b, 24, 2);
    for (int i = 0; i < 6; ++i) Put(b, 0, 4);
    for (int row = kSize - 1; row >= 0; --row) {  // bottom-up
        for (int x = 0; x < kSize; ++x) {
            bool inside = x >= 3 && x <= 12 && row >= 3 && row <= 12;
            bool outline = inside && (x == 3 || x == 12 || row == 3 || row == 12);
            COLORREF c = !inside ? RGB(255, 0, 255) : outline ? RGB(0, 0, 64) : colour;
            b.push_back(GetBValue(c));
            b.push_back(GetGValue(c));
            b.push_back(GetRValue(c));
        }
    }
    return host::StdPicture::FromBytes(std::move(b));
}

struct AfterDelay::Impl {
    explicit Impl(std::function<void()> tick) : timer(std::move(tick)) {}
    user::HostTimer timer;
};

AfterDelay::AfterDelay(int ms, std::function<void()> action) {
    impl_ = std::make_unique<Impl>([this, action = std::move(action)] {
        impl_->timer.SetEnabled(false);
        if (ran_) return;
        ran_ = true;
        action();
    });
    impl_->timer.SetInterval(ms);
    impl_->timer.SetEnabled(true);
}

AfterDelay::~AfterDelay() = default;

RECT OpenItemRect(int position) {
    RECT r{};
    GetMenuItemRect(nullptr, menus::detail::OpenPopupMenuHandle(), static_cast<UINT>(position), &r);
    return r;
}

RECT OpenSubItemRect(int subPosition, int position) {
    RECT r{};
    GetMenuItemRect(nullptr, GetSubMenu(menus::detail::OpenPopupMenuHandle(), subPosition), static_cast<UINT>(position), &r);
    return r;
}

}  // namespace brimlox::test
