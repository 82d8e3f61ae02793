// Form files: save -> load -> save gives the same file, loading runs the lifecycle, and every
// kind of bad file is refused with a message naming the file, the control and the property,
// leaving nothing created. Also fonts and pictures as form-file values.
#include "support/paths.h"
#include <fstream>
#include <sstream>

#include "host_test.h"

#include "platform/host/bag_check.h"
#include "platform/host/form_file.h"
#include "platform/host/standard_controls.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using FormFileTest = HostTest;

std::string SeedPath(const std::string& name) { return brimlox::test::SourceDir() + "/fuzz/seeds/picture/" + name; }

std::shared_ptr<Form> MakeRichForm() {
    auto form = Form::Create("frmRich");
    form->SetCaption("Rich form");
    form->Move(1500, 900, 7200, 5400);
    form->SetBackColor(0x00C0FFEE);
    auto frame = form->Add("Frame", "fraBox");
    frame->Move(120, 120, 3000, 2000);
    auto probe = std::static_pointer_cast<Probe>(form->Add("Probe", "prbIn", frame.get()));
    probe->SetCaption("inside");
    probe->SetValue(42);
    probe->Font()->SetBold(true);
    probe->SetTag("tagged");
    auto top = form->Add("Probe", "prbTop");
    top->SetHeight(450);
    top->SetAlign(kAlignTop);
    for (std::int16_t i = 0; i < 2; ++i) form->Add("CommandButton", "cmdArr", nullptr, i);
    auto pic = form->Add("PictureBox", "picShow");
    pic->SetPicture(LoadPicture(SeedPath("small.png")));
    auto img = form->Add("Image", "imgIcon");
    img->SetPicture(LoadPicture(SeedPath("icon.ico")));
    auto check = std::static_pointer_cast<CheckBox>(form->Add("CheckBox", "chkGrey"));
    check->SetValue(2);
    auto list = std::static_pointer_cast<ListBox>(form->Add("ListBox", "lstItems"));
    list->AddItem("one\tA");
    list->AddItem("two\tB");
    auto line = std::static_pointer_cast<LineControl>(form->Add("Line", "linSep"));
    line->SetX2(3000);
    form->Add("Label", "lblHidden")->SetVisible(false);
    return form;
}

TEST_F(FormFileTest, SaveLoadSaveGivesTheSameFileThroughTheLifecycle) {
    auto form = MakeRichForm();
    std::string first = SaveFormText(*form);
    form->Unload();
    ProbeLog().clear();
    auto again = LoadFormText(first, "rich.json");
    // Initialize and ReadProperties in file order, then Resize; no InitProperties.
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbIn:Initialize", "prbIn:ReadProperties", "prbTop:Initialize",
                                                    "prbTop:ReadProperties", "prbIn:Resize", "prbTop:Resize"}));
    auto probe = std::static_pointer_cast<Probe>(again->Find("prbIn"));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->Caption(), "inside");
    EXPECT_EQ(probe->Value(), 42);
    EXPECT_EQ(probe->Tag(), "tagged");
    EXPECT_EQ(probe->ContainerControl(), again->Find("fraBox").get());
    EXPECT_EQ(again->Find("imgIcon")->Picture()->Type(), PictureType::Icon);
    EXPECT_EQ(again->Find("picShow")->Picture()->Type(), PictureType::Bitmap);
    EXPECT_FALSE(again->Find("lblHidden")->Visible());
    EXPECT_EQ(again->Left(), 1500);
    ProbeLog().clear();
    std::string second = SaveFormText(*again);
    EXPECT_EQ(second, first);
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbIn:WriteProperties", "prbTop:WriteProperties"}));
    // Through a file on disk as well.
    std::string path = OutputDir() + "/host_roundtrip.json";
    SaveFormFile(*again, path);
    again->Unload();
    auto third = LoadFormFile(path);
    EXPECT_EQ(SaveFormText(*third), first);
    third->Unload();
}

// Loads a variant of a good file and returns the error message (empty when it loaded).
std::string LoadError(const std::string& text) {
    std::size_t windows = user::LiveWindowCount();
    try {
        auto form = LoadFormText(text, "bad.json");
        form->Unload();
        return "";
    } catch (const FormFileError& e) {
        EXPECT_EQ(user::LiveWindowCount(), windows) << "a refused file leaves nothing created";
        return e.what();
    }
}

TEST_F(FormFileTest, BadFilesAreRefusedNamingFileControlAndProperty) {
    auto form = MakeRichForm();
    OrderedJson good = SaveFormJson(*form);
    form->Unload();
    ASSERT_EQ(LoadError(good.dump()), "");
    auto variant = [&](const std::function<void(OrderedJson&)>& change) {
        OrderedJson j = good;
        change(j);
        return LoadError(j.dump());
    };
    auto expectHas = [](const std::string& message, const std::string& part) {
        EXPECT_NE(message.find(part), std::string::npos) << "message: " << message << "\nexpected: " << part;
    };
    expectHas(LoadError("{\"format\": \"brimlox-form\", "), "bad.json: bad JSON");
    expectHas(variant([](auto& j) { j["controls"][1]["extender"]["Left"] = "far"; }),
              "bad.json: controls[1](prbIn).extender.Left: expected an integer");
    expectHas(variant([](auto& j) { j["controls"][1]["type"] = "Gizmo"; }),
              "controls[1](prbIn).type: unknown control type \"Gizmo\"");
    expectHas(variant([](auto& j) { j["controls"][2].erase("name"); }), "controls[2].name: missing");
    expectHas(variant([](auto& j) { j["controls"][2]["name"] = "PRBIN"; }), "controls[2](PRBIN).name: duplicate name");
    expectHas(variant([](auto& j) { j["controls"][4]["index"] = 0; }), "controls[4](cmdArr).index: duplicate index 0");
    expectHas(variant([](auto& j) { j["controls"][1]["extender"]["Width"] = 100001; }), "extender.Width: out of range (0 to 100000)");
    expectHas(variant([](auto& j) { j["controls"][1]["extender"]["Width"] = -5; }),
              "controls[1](prbIn).extender.Width: out of range");
    expectHas(variant([](auto& j) { j["controls"][1]["extender"]["Align"] = 9; }), "extender.Align: out of range");
    expectHas(variant([](auto& j) { j["form"]["BorderStyle"] = 7; }), "bad.json: form.BorderStyle: out of range");
    expectHas(variant([](auto& j) { j["controls"][5]["bag"]["Picture"]["data"]["base64"] = "AAAA"; }),
              "controls[5](picShow).bag.Picture.data.base64: Invalid picture");
    expectHas(variant([](auto& j) { j["controls"][5]["bag"]["Picture"]["data"]["base64"] = "!!"; }), "not valid base64");
    expectHas(variant([](auto& j) { j["controls"][1]["bag"]["Font"]["data"]["Size"] = 0; }),
              "controls[1](prbIn).bag.Font.data.Size");
    expectHas(variant([](auto& j) { j["controls"][0]["container"] = "prbIn"; }),
              "controls[0](fraBox).container: \"prbIn\" is not a container");
    expectHas(variant([](auto& j) { j["controls"][1]["container"] = "nobody"; }), "no control \"nobody\"");
    // A control's own ReadProperties refusing a value takes the whole form down.
    ProbeLog().clear();
    expectHas(variant([](auto& j) { j["controls"][1]["bag"]["Value"] = -1; }),
              "controls[1](prbIn).bag: refused while loading: Invalid property value");
    // The control that was initialised is terminated; the ones never reached get neither.
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbIn:Initialize", "prbIn:ReadProperties", "prbIn:Terminate"}));
    expectHas(variant([](auto& j) { j["controls"][7]["bag"]["Value"] = 5; }), "controls[7](chkGrey)");
    expectHas(variant([](auto& j) { j["version"] = 3; }), "version: out of range");
    expectHas(variant([](auto& j) { j["controls"][1]["colour"] = 1; }), "controls[1](prbIn).colour: unknown key");
}

// A small valid file whose one control's bag holds `bag` and whose form part ends with `formTail`.
std::string HostileFile(const std::string& bag, const std::string& formTail = "") {
    return R"({"format":"brimlox-form","version":1,"form":{"Name":"frmH","Left":0,"Top":0,"Width":3000,"Height":3000)" +
           formTail + R"(},"controls":[{"type":"Label","name":"lblH","extender":{"Left":0,"Top":0,"Width":900,"Height":300},"bag":)" +
           bag + "}]}";
}

TEST_F(FormFileTest, HostileNestingAndNumbersAreRefusedAsWritten) {
    auto expectHas = [](const std::string& message, const std::string& part) {
        EXPECT_NE(message.find(part), std::string::npos) << "message: " << message << "\nexpected: " << part;
    };
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    // 100,000 nested arrays parse, but no recursive copy may touch them: refused with the path.
    std::string message = LoadError(HostileFile(R"({"Caption":)" + deep + "}"));
    expectHas(message, "bad.json: controls[0](lblH).bag.Caption[0][0]");
    expectHas(message, "nested deeper than 64 levels");
    expectHas(LoadError(HostileFile("{}", R"(,"BackColor":)" + deep)), "bad.json: form.BackColor[0]");
    expectHas(LoadError(deep), "bad.json: $[0][0]");
    // 64 levels in all is still a file (refused for what it holds, not for its depth).
    const std::string fits = std::string(59, '[') + std::string(59, ']');
    message = LoadError(HostileFile(R"({"Caption":)" + fits + "}"));
    expectHas(message, "arrays are not property values");

    // Integers beyond int64 must not wrap into range.
    expectHas(LoadError(HostileFile(R"({"Caption":18446744073709551615})")),
              "controls[0](lblH).bag.Caption: integer out of the 32-bit range");
    expectHas(LoadError(HostileFile(R"({"Caption":4294967296})")), "bag.Caption: integer out of the 32-bit range");
    EXPECT_EQ(LoadError(HostileFile(R"({"Caption":"x","Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Weight":700}}})")), "");
    expectHas(LoadError(HostileFile(R"({"Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Weight":4294967296}}})")),
              "controls[0](lblH).bag.Font.data.Weight: expected a weight from 0 to 1000");
    expectHas(LoadError(HostileFile(R"({"Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Weight":18446744073709551615}}})")),
              "bag.Font.data.Weight");
    expectHas(LoadError(HostileFile(R"({"Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Charset":4294967296}}})")),
              "controls[0](lblH).bag.Font.data.Charset: expected a character set");
    expectHas(LoadError(HostileFile(R"({"Font":{"object":"Font","data":{"Name":"Arial","Size":8,"Charset":4294967552}}})")),
              "bag.Font.data.Charset");
    expectHas(LoadError(HostileFile("{}", R"(,"BorderStyle":18446744073709551615)")), "form.BorderStyle");
    std::string left = HostileFile("{}");
    left.replace(left.find(R"("Left":0,"Top":0,"Width":900)"), 8, R"("Left":18446744073709551615)");
    expectHas(LoadError(left), "controls[0](lblH).extender.Left: out of range");
}

TEST_F(FormFileTest, ContainerCyclesInAFileAreRefused) {
    auto form = Form::Create("frmCycle");
    auto a = form->Add("ProbeContainer", "boxA");
    auto b = form->Add("ProbeContainer", "boxB", a.get());
    OrderedJson j = SaveFormJson(*form);
    form->Unload();
    j["controls"][0]["container"] = "boxB";
    std::string message = LoadError(j.dump());
    EXPECT_NE(message.find("container cycle"), std::string::npos) << message;
    (void)b;
}

TEST_F(FormFileTest, FontsAndPicturesKeepTheirAttributesAndHandles) {
    auto font = std::make_shared<StdFont>();
    int told = 0;
    int id = font->AddListener([&] { ++told; });
    font->SetName("Arial");
    font->SetSize(12);
    font->SetItalic(true);
    EXPECT_EQ(told, 3);
    HFONT h = font->Handle();
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(h, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -16) << "12 pt at 15 twips per pixel";
    EXPECT_EQ(lf.lfItalic, 1);
    font->RemoveListener(id);
    font->SetBold(true);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(font->Weight(), 700);
    EXPECT_THROW(font->SetSize(-1), HostError);

    auto bmp = LoadPicture(SeedPath("rgb24.bmp"));
    EXPECT_EQ(bmp->Type(), PictureType::Bitmap);
    EXPECT_EQ(bmp->Width(), static_cast<std::int32_t>(RoundHalfEven(bmp->PixelWidth() * 2540.0 / 96.0)));
    auto gif = LoadPicture(SeedPath("pixel.gif"));
    EXPECT_EQ(GetObjectType(gif->Bitmap()), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(LoadPicture()->Type(), PictureType::None);
    try {
        LoadPicture(SeedPath("missing.png"));
        ADD_FAILURE();
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kErrFileNotFound);
    }
    // A folder (or anything else that is not a plain file) is refused, not read.
    for (const std::string& notAFile : {SeedPath(""), std::string("/proc/self"), std::string("/dev/null")})
        try {
            LoadPicture(notAFile);
            ADD_FAILURE() << notAFile;
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), 75) << notAFile << ": the host's Path/File access error";
        }
    std::size_t icons = user::LiveIconCount();
    {
        auto ico = LoadPicture(SeedPath("icon.ico"));
        EXPECT_EQ(ico->Type(), PictureType::Icon);
        EXPECT_EQ(user::LiveIconCount(), icons + 1);
    }
    EXPECT_EQ(user::LiveIconCount(), icons) << "the picture frees its icon";
}

TEST_F(FormFileTest, SurfaceScalesDrawsAndMeasuresText) {
    auto form = Form::Create();
    auto pic = std::static_pointer_cast<PictureBox>(form->Add("PictureBox", "picDraw"));
    pic->Move(0, 0, 1500, 1500);  // 100 x 100 pixels
    form->Show();
    DoEvents();
    float twipsWide = pic->TextWidth("Hello");
    EXPECT_GT(twipsWide, 0);
    pic->SetScaleMode(kScalePixels);
    EXPECT_FLOAT_EQ(pic->ScaleWidth(), 100.0f);
    EXPECT_FLOAT_EQ(pic->TextWidth("Hello") * 15, twipsWide);
    pic->SetScaleWidth(10);  // a user scale: 10 units across
    EXPECT_EQ(pic->ScaleMode(), kScaleUser);
    EXPECT_FLOAT_EQ(pic->ScaleX(1, kScaleUser, kScalePixels), 10.0f);
    EXPECT_FLOAT_EQ(pic->TextWidth("Hello") * 15, twipsWide) << "text units stay pixels under a user scale";
    EXPECT_FLOAT_EQ(pic->ScaleX(1440, kScaleTwips, kScaleHimetric), 2540.0f);
    EXPECT_FLOAT_EQ(pic->ScaleY(15, kScaleTwips, kScalePixels), 1.0f);
    pic->SetAutoRedraw(true);
    pic->SetBackColor(0x00FFFFFF);
    pic->Line(1, 1, 3, 3, 0x000000FF, LineMode::FilledBox);
    EXPECT_EQ(GetPixel(pic->hDC(), 20, 2), RGB(255, 0, 0)) << "x in tenths of the width, y still in pixels";
    EXPECT_EQ(GetPixel(pic->hDC(), 5, 5), RGB(255, 255, 255));
    pic->SetBackColor(0x0000FF00);  // clears the drawing
    EXPECT_EQ(GetPixel(pic->hDC(), 20, 2), RGB(0, 255, 0));
    pic->Line(0, 0, 5, 5, 0, LineMode::Box);
    EXPECT_FLOAT_EQ(pic->CurrentX(), 5.0f);
    EXPECT_EQ(GetPixel(pic->hDC(), 0, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(pic->hDC(), 25, 3), RGB(0, 255, 0)) << "a box is not filled";
    // Several lines at once land where one Line each would put them (the end point left out),
    // the DC keeps its own pen and colour, and the current position ends at the last line's end.
    HGDIOBJ penBefore = GetCurrentObject(pic->hDC(), OBJ_PEN);
    const COLORREF dcPenBefore = SetDCPenColor(pic->hDC(), RGB(1, 2, 3));  // reads the colour
    SetDCPenColor(pic->hDC(), dcPenBefore);
    const LineSegment lines[] = {{0, 8, 5, 8}, {9, 0, 9, 6}};
    pic->Lines(lines, 0x00FF0000);
    EXPECT_EQ(GetPixel(pic->hDC(), 0, 8), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(pic->hDC(), 49, 8), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(pic->hDC(), 50, 8), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(pic->hDC(), 90, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(pic->hDC(), 90, 6), RGB(0, 255, 0));
    EXPECT_EQ(GetCurrentObject(pic->hDC(), OBJ_PEN), penBefore);
    EXPECT_EQ(SetDCPenColor(pic->hDC(), dcPenBefore), dcPenBefore);
    EXPECT_FLOAT_EQ(pic->CurrentX(), 9.0f);
    EXPECT_FLOAT_EQ(pic->CurrentY(), 6.0f);
    pic->Lines({}, 0);
    EXPECT_FLOAT_EQ(pic->CurrentX(), 9.0f) << "no lines leave the position alone";
    // The persistent bitmap is cleared under a child window too: it shows there once the child
    // is gone.
    HWND child = CreateWindowExA(0, RecorderClass(), "child", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, pic->hWnd(),
                                 nullptr, nullptr, nullptr);
    pic->SetBackColor(0x00FF0000);
    EXPECT_EQ(GetPixel(pic->hDC(), 20, 20), RGB(0, 0, 255));
    DestroyWindow(child);
    form->Unload();
}

TEST_F(FormFileTest, ARefusedBagValueIsNamedByItsKeyAndDoubtfulValuesAreWarnedAbout) {
    auto form = MakeRichForm();
    OrderedJson good = SaveFormJson(*form);
    form->Unload();
    OrderedJson refused = good;
    refused["controls"][1]["bag"]["Value"] = "many";
    EXPECT_EQ(LoadError(refused.dump()), "bad.json: controls[1](prbIn).bag.Value: refused while loading: Type mismatch");

    // A file that loads hands its bags back; each knows which keys its control never read.
    OrderedJson doubtful = good;
    doubtful["controls"][1]["bag"]["Captoin"] = "typo";
    doubtful["controls"][1]["bag"]["Caption"] = 42;
    doubtful["controls"][1]["bag"]["Value"] = "7";
    std::vector<LoadedBag> bags;
    auto loaded = LoadFormJson(doubtful, "doubtful.json", true, &bags);
    ASSERT_EQ(bags.size(), loaded->Controls().size());
    EXPECT_EQ(bags[1].path, "controls[1](prbIn)");
    EXPECT_EQ(bags[1].control, loaded->Find("prbIn"));
    EXPECT_EQ(bags[1].bag.UnreadKeys(), (std::vector<std::string>{"Captoin"}));
    std::vector<std::string> found;
    for (const auto& w : CheckBag(*bags[1].control, bags[1].bag)) found.push_back(w.key + ": " + w.problem);
    EXPECT_EQ(found, (std::vector<std::string>{"Caption: expected a string, not 42",
                                               "Value: expected a number, not \"7\"",
                                               "Captoin: unknown key: a Probe does not read it"}));
    // The same form as saved gives no warning at all.
    for (const auto& b : bags)
        if (b.path != bags[1].path) EXPECT_TRUE(CheckBag(*b.control, b.bag).empty()) << b.path;
    loaded->Discard();
}

}  // namespace
}  // namespace brimlox::test
