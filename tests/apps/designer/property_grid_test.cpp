// The designer's property grid without its document: the rows read from type information for
// one control, several controls and the form; the value texts and the conversion of typed
// text per property kind (bad text refused with the host's error, never a crash); and the
// grid on screen driven by real clicks and keys, its edits applied late-bound to the controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "apps/designer/property_grid_view.h"
#include "apps/designer/property_rows.h"
#include "apps/designer/property_values.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/font.h"
#include "platform/host/host_test.h"
#include "platform/host/picture.h"
#include "platform/host/runtime.h"
#include "support/gdi_test.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

using designer::PropertyGridView;
using designer::PropertyKind;
using designer::PropertyRows;
using host::Variant;
using Objects = std::vector<std::shared_ptr<host::Dispatch>>;

class PropertyGridModelTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        designed = host::Form::Create("frmDesigned", true);
        designed->Move(0, 0, 400 * 15, 300 * 15);
        command = designed->Add("Command", "cmdOk");
        scroll = designed->Add("ScrollBar", "scrAmount");
    }
    void TearDown() override {
        command.reset();
        scroll.reset();
        if (designed) designed->Discard();
        designed.reset();
        host::ClearMessageBoxLog();
        HostTest::TearDown();
    }
    static std::string Text(const PropertyRows& rows, const std::string& name) {
        const auto* row = rows.Find(name);
        return row ? row->text : "<no row " + name + ">";
    }
    static std::vector<std::string> Names(const PropertyRows& rows) {
        std::vector<std::string> names;
        for (const auto& row : rows.Rows()) names.push_back(row.name);
        return names;
    }
    // Sets a property late-bound on every object, as the document does for one control.
    static PropertyRows::Setter LateBound(Objects objects) {
        return [objects](const std::string& name, const Variant& value) {
            for (const auto& o : objects) host::LetProperty(*o, name, value);
        };
    }

    std::shared_ptr<host::Form> designed;
    std::shared_ptr<host::Control> command, scroll;
};

TEST_F(PropertyGridModelTest, RowsOfOneControlComeFromItsTypeInformationInNameOrder) {
    const PropertyRows rows = PropertyRows::Read({command});
    const auto names = Names(rows);
    ASSERT_FALSE(names.empty());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](std::string a, std::string b) {
        for (auto* s : {&a, &b}) std::transform(s->begin(), s->end(), s->begin(), ::tolower);
        return a < b;
    }));
    // Every row is a browsable property with a getter and a setter; every such property has a row.
    std::size_t expected = 0;
    for (const auto* info : {command->GetTypeInfo(), command->GetExtenderTypeInfo()})
        for (const auto& m : info->Members()) {
            const bool browsable = m.kind == host::MemberKind::Property && !m.hidden && !m.nonBrowsable &&
                                   m.HasGet() && (m.HasLet() || m.HasSet()) && m.params.empty();
            const auto* row = rows.Find(m.name);
            if (!browsable && info == command->GetTypeInfo()) EXPECT_EQ(row, nullptr) << m.name;
            if (browsable) {
                EXPECT_NE(row, nullptr) << m.name;
                ++expected;
            }
        }
    EXPECT_LE(rows.Rows().size(), expected);
    EXPECT_EQ(rows.Find("hWnd"), nullptr) << "read-only";

    // Kinds and texts: the extender's geometry as numbers, the name as text, booleans,
    // colours by system name or hex, fonts by name and size, pictures, named enumerations.
    EXPECT_EQ(Text(rows, "Name"), command->Name());
    EXPECT_EQ(rows.Find("Left")->kind, PropertyKind::Number);
    EXPECT_EQ(Text(rows, "Visible"), "True");
    EXPECT_EQ(rows.Find("Enabled")->kind, PropertyKind::Boolean);
    EXPECT_EQ(rows.Find("BackColor")->kind, PropertyKind::Color);
    EXPECT_EQ(Text(rows, "BackColor"), "vbButtonFace");
    host::LetProperty(*command, "BackColor", Variant(std::int32_t{0x0000FF}));
    EXPECT_EQ(Text(PropertyRows::Read({command}), "BackColor"), "&H000000FF&");
    EXPECT_EQ(rows.Find("Font")->kind, PropertyKind::Font);
    auto font = host::GetProperty(*command, "Font").As<host::StdFont>();
    EXPECT_EQ(Text(rows, "Font"), font->Name() + ", " + host::FormatNumber(font->Size(), 7));
    EXPECT_EQ(rows.Find("Picture")->kind, PropertyKind::Picture);
    EXPECT_EQ(Text(rows, "Picture"), "(None)");
    EXPECT_EQ(rows.Find("Caption")->kind, PropertyKind::Text);
    EXPECT_EQ(rows.Find("ArrowType")->kind, PropertyKind::Enumeration);
    EXPECT_EQ(Text(rows, "ArrowType"), "0 - NoArrow");
    host::LetProperty(*command, "ArrowType", Variant(std::int16_t{2}));
    EXPECT_EQ(Text(PropertyRows::Read({command}), "ArrowType"), "2 - ArrowUp");
    EXPECT_TRUE(rows.HasMenu()) << "a Command carries popup-menu items";

    // The scroll bar: its bevel enumeration named, its numbers plain, no menu.
    const PropertyRows bar = PropertyRows::Read({scroll});
    EXPECT_EQ(bar.Find("BorderStyle")->kind, PropertyKind::Enumeration);
    EXPECT_EQ(Text(bar, "BorderStyle").substr(0, 4), std::to_string(host::GetProperty(*scroll, "BorderStyle").ToLong()) + " - ");
    EXPECT_EQ(bar.Find("Value")->kind, PropertyKind::Number);
    EXPECT_EQ(Text(bar, "Value"), host::GetProperty(*scroll, "Value").ToString());
    EXPECT_EQ(bar.Find("Vertical")->kind, PropertyKind::Boolean);
    EXPECT_EQ(bar.Find("Caption"), nullptr);
    EXPECT_FALSE(bar.HasMenu());

    // Nothing selected: the form's own properties.
    const PropertyRows form = PropertyRows::Read({designed});
    EXPECT_EQ(Text(form, "Name"), "frmDesigned");
    EXPECT_EQ(form.Find("BackColor")->kind, PropertyKind::Color);
    EXPECT_EQ(Text(form, "BorderStyle"), "2 - vbSizable");
    EXPECT_EQ(Text(form, "WindowState"), "0 - vbNormal");
    EXPECT_NE(form.Find("Caption"), nullptr);
    EXPECT_FALSE(form.HasMenu());
    EXPECT_TRUE(PropertyRows::Read({}).Rows().empty());
}

TEST_F(PropertyGridModelTest, SeveralControlsShareOnlyCommonPropertiesAndBlankWhereTheyDiffer) {
    command->Move(150, 300, 1200, 450);
    scroll->Move(150, 900, 1200, 255);
    const PropertyRows rows = PropertyRows::Read({command, scroll});
    EXPECT_EQ(rows.Find("Caption"), nullptr) << "the scroll bar has none";
    EXPECT_EQ(rows.Find("ArrowType"), nullptr);
    EXPECT_EQ(rows.Find("Max"), nullptr);
    ASSERT_NE(rows.Find("Left"), nullptr);
    EXPECT_EQ(Text(rows, "Left"), "150") << "both agree";
    EXPECT_EQ(Text(rows, "Top"), "") << "they differ";
    EXPECT_TRUE(rows.Find("Top")->differs);
    EXPECT_EQ(Text(rows, "Name"), "");
    EXPECT_FALSE(rows.HasMenu()) << "the menu row is for one control";
    // Two of one type share every row.
    auto second = designed->Add("Command", "cmdCancel");
    EXPECT_EQ(Names(PropertyRows::Read({command, second})), Names(PropertyRows::Read({command})));
}

TEST_F(PropertyGridModelTest, TypedTextConvertsPerKindAndBadTextIsATypeMismatch) {
    using designer::ParseValue;
    const host::ValueRule none;
    auto error = [](auto&& f) {
        try {
            f();
        } catch (const host::HostError& e) {
            return e.Number();
        }
        return 0;
    };
    // Numbers keep the width of the present value; the host raises overflow for what does not fit.
    EXPECT_EQ(ParseValue(PropertyKind::Number, " 42 ", none, Variant(std::int16_t{1})).Type(), host::VarType::Integer);
    EXPECT_EQ(ParseValue(PropertyKind::Number, "2.5", none, Variant(std::int32_t{1})).ToLong(), 2) << "halves to even";
    EXPECT_FLOAT_EQ(ParseValue(PropertyKind::Number, "1.25", none, Variant(1.0f)).ToSingle(), 1.25f);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Number, "12abc", none, Variant(std::int16_t{1})); }), 13);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Number, "", none, Variant(std::int16_t{1})); }), 13);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Number, "40000", none, Variant(std::int16_t{1})); }), 6);
    // Booleans.
    EXPECT_TRUE(ParseValue(PropertyKind::Boolean, "true", none, Variant(false)).ToBool());
    EXPECT_FALSE(ParseValue(PropertyKind::Boolean, "False", none, Variant(true)).ToBool());
    EXPECT_TRUE(ParseValue(PropertyKind::Boolean, "-1", none, Variant(false)).ToBool());
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Boolean, "maybe", none, Variant(false)); }), 13);
    // Enumerations by the shown text, the number or the name.
    host::ValueRule arrows;
    arrows.enumeration = {{0, "NoArrow"}, {1, "ArrowDown"}, {2, "ArrowUp"}};
    const Variant arrow(std::int16_t{0});
    EXPECT_EQ(ParseValue(PropertyKind::Enumeration, "2 - ArrowUp", arrows, arrow).ToInteger(), 2);
    EXPECT_EQ(ParseValue(PropertyKind::Enumeration, "arrowdown", arrows, arrow).ToInteger(), 1);
    EXPECT_EQ(ParseValue(PropertyKind::Enumeration, "1", arrows, arrow).Type(), host::VarType::Integer);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Enumeration, "Sideways", arrows, arrow); }), 13);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Enumeration, "1.5", arrows, arrow); }), 13);
    // Colours as hex (system colours included), numbers or system colour names.
    EXPECT_EQ(ParseValue(PropertyKind::Color, "&H000000FF&", none, Variant()).ToLong(), 0xFF);
    EXPECT_EQ(ParseValue(PropertyKind::Color, "&HFF00", none, Variant()).ToLong(), 0xFF00);
    EXPECT_EQ(static_cast<std::uint32_t>(ParseValue(PropertyKind::Color, "vbButtonFace", none, Variant()).ToLong()), 0x8000000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(ParseValue(PropertyKind::Color, "&H80000005&", none, Variant()).ToLong()), 0x80000005u);
    EXPECT_EQ(designer::ValueText(PropertyKind::Color, Variant(static_cast<std::int32_t>(0x80000012u)), none), "vbButtonText");
    EXPECT_EQ(designer::ValueText(PropertyKind::Color, Variant(static_cast<std::int32_t>(0x80000099u)), none), "&H80000099&");
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Color, "&HXYZ&", none, Variant()); }), 13);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Color, "&H123456789&", none, Variant()); }), 13);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Color, "vbPlaid", none, Variant()); }), 13);
    // Fonts: a changed copy of the present font, never the same object.
    auto present = std::make_shared<host::StdFont>();
    const Variant current{std::shared_ptr<host::Dispatch>(present)};
    auto font = ParseValue(PropertyKind::Font, "Arial, 12, Bold Italic", none, current).As<host::StdFont>();
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, present);
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_FLOAT_EQ(font->Size(), 12.0f);
    EXPECT_TRUE(font->Bold() && font->Italic());
    EXPECT_EQ(designer::ValueText(PropertyKind::Font, Variant(std::shared_ptr<host::Dispatch>(font)), none), "Arial, 12, Bold Italic");
    EXPECT_FLOAT_EQ(ParseValue(PropertyKind::Font, "Tahoma", none, current).As<host::StdFont>()->Size(), present->Size());
    for (const char* bad : {"", " , 12", "Arial, big", "Arial, 12, Heavy", "Arial, 1, Bold, more"})
        EXPECT_EQ(error([&] { ParseValue(PropertyKind::Font, bad, none, current); }), 13) << bad;
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Font, "Arial, -3", none, current); }), 380);
    // Pictures: "(None)" empties, a path loads, a missing file is the host's 53.
    EXPECT_EQ(ParseValue(PropertyKind::Picture, "(None)", none, Variant()).As<host::StdPicture>()->Type(), host::PictureType::None);
    EXPECT_EQ(error([&] { ParseValue(PropertyKind::Picture, "/no/such/picture.bmp", none, Variant()); }), 53);
    for (const char* folder : {"/", ".", "/proc/self"})
        EXPECT_NE(error([&] { ParseValue(PropertyKind::Picture, folder, none, Variant()); }), 0) << folder;
    // Hostile text in every kind gives a host error or a value, never anything else.
    const std::string hostile[] = {"\x01\xff", "&H", "&H&", "&", "-", "1e999", "nan", "inf", " - ", "1 - ", ",,,",
                                   std::string(5000, '9'), std::string("\0x", 2), "\t", "0x10", "--1"};
    for (auto kind : {PropertyKind::Text, PropertyKind::Number, PropertyKind::Boolean, PropertyKind::Enumeration,
                      PropertyKind::Color, PropertyKind::Font, PropertyKind::Object})
        for (const auto& text : hostile)
            for (const Variant& width : {Variant(std::int16_t{0}), Variant(0.0), current})
                try {
                    ParseValue(kind, text, kind == PropertyKind::Enumeration ? arrows : none, width);
                } catch (const host::HostError&) {
                }
}

TEST_F(PropertyGridModelTest, ApplyingShowsTheHostsMessageAndChangesNothingWhenRefused) {
    // A Max that a Long can go beyond, so the value past it is a range error, not an overflow.
    host::LetProperty(*scroll, "Max", Variant(std::int32_t{100}));
    const PropertyRows rows = PropertyRows::Read({scroll});
    const Variant before = host::GetProperty(*scroll, "Value");
    const std::int32_t max = host::GetProperty(*scroll, "Max").ToLong();
    host::ClearMessageBoxLog();
    // Beyond Max: the published range (Min to Max of the object) refuses it.
    EXPECT_FALSE(rows.Apply("Value", std::to_string(max + 1), LateBound({scroll})));
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text.rfind(host::HostError::DescriptionFor(380), 0), 0u) << host::MessageBoxLog()[0].text;
    EXPECT_NE(host::MessageBoxLog()[0].text.find("Max"), std::string::npos) << "names the bound";
    EXPECT_EQ(host::GetProperty(*scroll, "Value"), before);
    // Text that is no number never reaches the control; the message names the text.
    bool reached = false;
    EXPECT_FALSE(rows.Apply("Value", "lots", [&](const std::string&, const Variant&) { reached = true; }));
    EXPECT_FALSE(reached);
    ASSERT_EQ(host::MessageBoxLog().size(), 2u);
    EXPECT_NE(host::MessageBoxLog()[1].text.find("\"lots\""), std::string::npos) << host::MessageBoxLog()[1].text;
    // An enumeration number outside the published list.
    const Variant border = host::GetProperty(*scroll, "BorderStyle");
    EXPECT_FALSE(rows.Apply("BorderStyle", "99", LateBound({scroll})));
    EXPECT_EQ(host::MessageBoxLog().size(), 3u);
    EXPECT_EQ(host::GetProperty(*scroll, "BorderStyle"), border);
    // Bounds held by each object: a value inside one scroll bar's range but outside another's.
    auto narrow = designed->Add("ScrollBar", "scrNarrow");
    host::LetProperty(*narrow, "Max", Variant(std::int32_t{5}));
    EXPECT_FALSE(PropertyRows::Read({scroll, narrow}).Apply("Value", "6", LateBound({scroll, narrow})));
    EXPECT_EQ(host::GetProperty(*narrow, "Value").ToLong(), 0);
    // A property the grid does not show.
    EXPECT_FALSE(rows.Apply("hWnd", "1", LateBound({scroll})));
    // A good value goes through.
    EXPECT_TRUE(rows.Apply("Value", std::to_string(max), LateBound({scroll})));
    EXPECT_EQ(host::GetProperty(*scroll, "Value").ToLong(), max);
    EXPECT_TRUE(rows.Apply("BorderStyle", "Raised", LateBound({scroll})));
    EXPECT_EQ(host::GetProperty(*scroll, "BorderStyle").ToLong(), 4);
}

// ---- The grid on screen ------------------------------------------------------------------------
class PropertyGridViewTest : public PropertyGridModelTest {
protected:
    static constexpr int kWidth = 260, kHeight = 340;

    void SetUp() override {
        PropertyGridModelTest::SetUp();
        gridForm = host::Form::Create("frmGrid");
        gridForm->SetBorderStyle(0);
        gridForm->Move(0, 0, kWidth * 15, kHeight * 15);
        view = std::make_unique<PropertyGridView>(gridForm, RECT{0, 0, kWidth, kHeight});
        gridForm->Show();
    }
    void TearDown() override {
        view.reset();
        rows = PropertyRows();  // the rows hold the control's font and picture
        if (gridForm && !gridForm->Unloaded()) gridForm->Unload();
        gridForm.reset();
        PropertyGridModelTest::TearDown();
    }
    // Shows the rows of `objects`; edits set them late-bound and show the rows again.
    void ShowRowsOf(Objects objects) {
        rows = PropertyRows::Read(objects);
        view->Show(rows);
        view->SetApplyHandler([this, objects](const std::string& name, const std::string& text) {
            const bool applied = rows.Apply(name, text, LateBound(objects));
            rows = PropertyRows::Read(objects);
            view->Show(rows);
            return applied;
        });
        host::DoEvents();
    }
    std::string At(host::Control& c, int x, int y) {
        RECT r{};
        GetWindowRect(c.hWnd(), &r);
        return "move " + std::to_string(r.left + x) + " " + std::to_string(r.top + y) + "\n";
    }
    std::string ClickOn(host::Control& c) {
        RECT r{};
        GetWindowRect(c.hWnd(), &r);
        return At(c, (r.right - r.left) / 2, (r.bottom - r.top) / 2) + "click left\nwait 50ms\n";
    }
    std::string ClickLine(host::ListBox& list, const std::string& startsWith) {
        TEXTMETRICA tm{};
        GetTextMetricsA(list.hDC(), &tm);
        for (std::int32_t i = 0; i < list.ListCount(); ++i)
            if (list.List(i).rfind(startsWith, 0) == 0) {
                list.SetTopIndex(i);
                // Clicks apart by more than the double-click time, so that each is a single click.
                return "wait 600ms\n" + At(list, 20, (i - list.TopIndex()) * tm.tmHeight + tm.tmHeight / 2) +
                       "click left\nwait 50ms\n";
            }
        ADD_FAILURE() << "no line " << startsWith;
        return "";
    }
    static std::string Type(const std::string& text) {
        std::string script;
        for (char c : text) {
            if (c == ' ') script += "key press VK_SPACE\n";
            else script += std::string("key press ") + static_cast<char>(std::toupper(static_cast<unsigned char>(c))) + "\n";
        }
        return script;
    }
    // Backspaces enough to empty the editor (the script is built before the row is chosen).
    static std::string Erase() {
        std::string script;
        for (int i = 0; i < 40; ++i) script += "key press VK_BACK\n";
        return script;
    }
    void Play(const std::string& script) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
        const std::uint64_t start = desktop::Desktop::Instance().Now();
        for (auto& e : parsed.events) e.timeMs += start;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + start));
        host::Run();
        desktop::Desktop::Instance().SetInputSource(nullptr);
    }

    std::shared_ptr<host::Form> gridForm;
    std::unique_ptr<PropertyGridView> view;
    PropertyRows rows;
};

TEST_F(PropertyGridViewTest, ClickingARowTypingAndEnterEditTheControlAndEscapeReverts) {
    ShowRowsOf({command});
    auto& list = view->List();
    EXPECT_EQ(list.List(0), "(Menu)\t");
    EXPECT_EQ(list.List(1), rows.Rows()[0].name + "\t" + rows.Rows()[0].text);

    // Click the Caption line: the editor shows the value; erase it, type, Enter.
    Play(ClickLine(list, "Caption\t"));
    EXPECT_EQ(view->Chosen(), "Caption");
    EXPECT_EQ(view->Editor().Text(), host::GetProperty(*command, "Caption").ToString());
    Play(ClickOn(view->Editor()) + Erase() + Type("go") + "key press VK_RETURN\nwait 50ms\n");
    EXPECT_EQ(host::GetProperty(*command, "Caption").ToString(), "go");
    EXPECT_EQ(list.Text(), "Caption\tgo") << "the row shows the new value";

    // Escape puts the shown value back and changes nothing.
    Play(Type("ne") + "key press VK_ESCAPE\nwait 50ms\n");
    EXPECT_EQ(view->Editor().Text(), "go");
    EXPECT_EQ(host::GetProperty(*command, "Caption").ToString(), "go");

    // A number row: typed text becomes the shown form of the value.
    Play(ClickLine(list, "Left\t") + ClickOn(view->Editor()) + Erase() + Type("300") + "key press VK_RETURN\nwait 50ms\n");
    EXPECT_EQ(host::GetProperty(*command, "Left").ToLong(), 300);

    // A refused value: the host's message, nothing changed, the typed text left to correct.
    host::ClearMessageBoxLog();
    Play(ClickLine(list, "Visible\t") + ClickOn(view->Editor()) + Erase() + Type("perhaps") + "key press VK_RETURN\nwait 50ms\n");
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_NE(host::MessageBoxLog()[0].text.find("Type mismatch"), std::string::npos);
    EXPECT_TRUE(host::GetProperty(*command, "Visible").ToBool());
    EXPECT_EQ(view->Editor().Text(), "perhaps");
}

TEST_F(PropertyGridViewTest, TheDropDownTheFontEditorAndTheMenuRowEditTheirKinds) {
    ShowRowsOf({command});
    auto& list = view->List();
    // Enumerations: "..." opens the list of values; a click on one applies it.
    Play(ClickLine(list, "ArrowType\t"));
    EXPECT_TRUE(view->EditorButton().Enabled());
    Play(ClickOn(view->EditorButton()));
    ASSERT_TRUE(view->DropDown().Visible());
    EXPECT_EQ(view->DropDown().Text(), "0 - NoArrow");
    Play(ClickLine(view->DropDown(), "3 - "));
    EXPECT_FALSE(view->DropDown().Visible());
    EXPECT_EQ(host::GetProperty(*command, "ArrowType").ToLong(), 3);
    EXPECT_EQ(view->Editor().Text(), rows.Find("ArrowType")->text);

    // Colours: the system colours by name.
    Play(ClickLine(list, "BackColor\t") + ClickOn(view->EditorButton()));
    ASSERT_TRUE(view->DropDown().Visible());
    Play(ClickLine(view->DropDown(), "vbWindowBackground"));
    EXPECT_EQ(static_cast<std::uint32_t>(host::GetProperty(*command, "BackColor").ToLong()), 0x80000005u);

    // A plain text row has no editor of its own.
    Play(ClickLine(list, "Caption\t"));
    EXPECT_FALSE(view->EditorButton().Enabled());

    // The font editor: tick Bold, OK.
    Play(ClickLine(list, "Font\t"));
    EXPECT_EQ(view->Chosen(), "Font");
    EXPECT_TRUE(view->EditorButton().Enabled());
    Play(ClickOn(view->EditorButton()));
    ASSERT_TRUE(view->FontEditorOpen());
    Play(ClickOn(*gridForm->Find("chkFontBold")) + ClickOn(*gridForm->Find("cmdFontOk")));
    EXPECT_FALSE(view->FontEditorOpen());
    EXPECT_TRUE(host::GetProperty(*command, "Font").As<host::StdFont>()->Bold());

    // The picture chooser: a file of the folder shown, chosen by OK.
    const auto folder = std::filesystem::path(OutputDir()) / "property_grid_pictures";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SourceDir() + "/tests/golden/menus/menu_page.png", folder / "a.png",
                               std::filesystem::copy_options::overwrite_existing);
    Play(ClickLine(list, "Picture\t") + ClickOn(view->EditorButton()));
    ASSERT_TRUE(view->PictureChooserOpen());
    view->PictureFolders().SetPath(folder.string());
    host::DoEvents();
    auto& files = dynamic_cast<host::ListBox&>(*gridForm->Find("filPicture"));
    Play(ClickLine(files, "a.png") + ClickOn(*gridForm->Find("cmdPictureOk")));
    EXPECT_FALSE(view->PictureChooserOpen());
    EXPECT_EQ(host::GetProperty(*command, "Picture").As<host::StdPicture>()->Type(), host::PictureType::Bitmap);
    EXPECT_EQ(list.Text(), "Picture\t(Picture)");

    // The (Menu) row calls the menu handler.
    int menus = 0;
    view->SetMenuHandler([&] { ++menus; });
    Play(ClickLine(list, "(Menu)"));
    EXPECT_EQ(menus, 1);
}

TEST_F(PropertyGridViewTest, TheGridLooksAsDesigned) {
    host::LetProperty(*command, "Caption", Variant("OK"));
    ShowRowsOf({command});
    Play(ClickLine(view->List(), "Caption\t"));
    view->List().SetTopIndex(0);
    host::DoEvents();
    Canvas canvas(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "apps/designer/property_grid", 40));
}

}  // namespace
}  // namespace brimlox::test
