// The designer's document: opening damaged and missing files, the undo history rebuilt in the
// same window, all-or-nothing property edits, clipboard fragments and saving.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "apps/designer/design_document.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/standard_controls.h"
#include "platform/host/host_test.h"

namespace brimlox::test {
namespace {

using designer::DesignDocument;
using host::Variant;
using DesignDocumentTest = HostTest;

namespace fs = std::filesystem;

// A fresh folder of the test's own, removed with its files at the end.
class TempFolder {
public:
    TempFolder() : path_(fs::temp_directory_path() / ("brimlox-design-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string FormText(const std::string& controls) {
    return R"({"format": "brimlox-form", "version": 2,
               "form": {"Name": "frmBad", "Left": 0, "Top": 0, "Width": 4800, "Height": 3600},
               "controls": [)" + controls + "]}";
}

std::shared_ptr<Probe> ProbeNamed(DesignDocument& doc, const std::string& name) {
    return std::dynamic_pointer_cast<Probe>(doc.Form().Find(name));
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(DesignDocumentTest, DamagedFileOpensWithTheBadPartsLeftOutAndListed) {
    const std::string text = FormText(R"(
        {"type": "Probe", "name": "prbGood", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300},
         "bag": {"Caption": "kept", "Captoin": "typo"}},
        {"type": "NoSuchType", "name": "cmdBad", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300}},
        {"type": "Probe", "name": "prbValue", "extender": {"Left": 0, "Top": 400, "Width": 900, "Height": 300},
         "bag": {"Caption": "also kept", "Value": "not a number"}},
        {"type": "Probe", "name": "prbInside", "container": "prbGood",
         "extender": {"Left": 60, "Top": 60, "Width": 300, "Height": 300}})");
    auto doc = DesignDocument::FromText(text, "bad.json");
    const auto& problems = doc->Problems();
    ASSERT_EQ(problems.size(), 4u) << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0], "bad.json: controls[1](cmdBad).type: unknown control type \"NoSuchType\" (the control is left out)");
    // The paths count records as the file has them, though earlier records were left out.
    EXPECT_TRUE(Contains(problems[1], "bad.json: controls[3](prbInside).container: \"prbGood\" is not a container"));
    EXPECT_TRUE(Contains(problems[1], "(the control is placed on the form)"));
    EXPECT_TRUE(Contains(problems[2], "bad.json: controls[2](prbValue).bag.Value: refused while loading"));
    EXPECT_TRUE(Contains(problems[2], "(the value is left out)"));
    EXPECT_TRUE(Contains(problems[3], "warning: bad.json: controls[0](prbGood).bag.Captoin:"));

    ASSERT_EQ(doc->Form().Controls().size(), 3u);
    EXPECT_EQ(ProbeNamed(*doc, "prbValue")->Caption(), "also kept");
    EXPECT_EQ(ProbeNamed(*doc, "prbValue")->Value(), 0);
    EXPECT_EQ(doc->Form().Find("prbInside")->ContainerControl(), nullptr);
    EXPECT_FALSE(doc->Modified());
    auto good = doc->Form().Find("prbGood");
    doc->SetProperty(std::vector{good}, "Caption", Variant("edited"));
    EXPECT_EQ(ProbeNamed(*doc, "prbGood")->Caption(), "edited");
    EXPECT_TRUE(doc->Modified());

    // Text that is no form at all is refused as a whole.
    EXPECT_THROW(DesignDocument::FromText("{not json", "x.json"), host::FormFileError);
    EXPECT_THROW(DesignDocument::FromText("[1, 2]", "x.json"), host::FormFileError);
    try {
        DesignDocument::FromText(R"({"format": "other", "version": 2, "form": {}, "controls": []})", "x.json");
        ADD_FAILURE() << "a foreign format was opened";
    } catch (const host::FormFileError& e) {
        EXPECT_EQ(e.Path(), "x.json: format");
    }
}

TEST_F(DesignDocumentTest, FormValuesExtenderValuesAndUnknownKeysAreMendedOneByOne) {
    const std::string text = R"({"format": "brimlox-form", "version": 2, "comment": "hand-made",
        "form": {"Name": "9bad", "Left": 0, "Top": 0, "Width": "wide", "Height": 3600, "BorderStyle": 9},
        "controls": [
          {"type": "Probe", "name": "prbA", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300,
                                                         "TabIndex": 7, "Align": 9}},
          {"type": "Probe", "name": "prbB", "extender": {"Left": 0, "Top": 400, "Width": -5, "Height": 300}}]})";
    auto doc = DesignDocument::FromText(text, "mend.json");
    std::vector<std::string> expected{
        "mend.json: $.comment: unknown key (the key is left out)",
        "mend.json: form.Name: not a valid name (the form is named Form1)",
        "mend.json: form.Width: expected an integer (the default is used)",
        "mend.json: form.BorderStyle: out of range (the default is used)",
        "mend.json: controls[0](prbA).extender.Align: out of range (0 to 4) (the value is left out)",
        "mend.json: controls[1](prbB).extender.Width: out of range (0 to 100000) (the control is left out)",
        "mend.json: controls[0](prbA).extender.TabIndex: out of range (0 to 0) (the value is left out)"};
    EXPECT_EQ(doc->Problems(), expected);
    EXPECT_EQ(doc->Form().Name(), "Form1");
    EXPECT_EQ(doc->Form().Width(), 4800);
    EXPECT_EQ(doc->Form().BorderStyle(), 2);
    ASSERT_EQ(doc->Form().Controls().size(), 1u);
    EXPECT_EQ(doc->Form().Controls()[0]->Align(), 0);
}

TEST_F(DesignDocumentTest, MissingFileGivesANewFormThatIsWrittenOnlyBySave) {
    TempFolder folder;
    const std::string path = folder.File("frmNew.json");
    auto doc = DesignDocument::Open(path);
    EXPECT_EQ(doc->Form().Name(), "frmNew");
    EXPECT_EQ(doc->Form().Caption(), "frmNew");
    EXPECT_EQ(doc->Form().Width(), 4800);
    EXPECT_EQ(doc->Form().Height(), 3600);
    EXPECT_TRUE(doc->Form().DesignMode());
    EXPECT_TRUE(doc->Problems().empty());
    EXPECT_FALSE(doc->Modified());
    EXPECT_FALSE(fs::exists(path));
    doc->Save();
    EXPECT_TRUE(fs::exists(path));

    auto unnamed = DesignDocument::Open(folder.File("2 bad name.json"));
    EXPECT_EQ(unnamed->Form().Name(), "Form1");
    EXPECT_THROW(DesignDocument::Open(folder.File("")), host::FormFileError);  // a folder
}

TEST_F(DesignDocumentTest, EditsUndoAllTheWayBackAndRedoInTheSameWindow) {
    auto doc = DesignDocument::FromText(FormText(""), "edits.json");
    const HWND window = doc->Form().hWnd();
    int rebuilds = 0;
    doc->AddRebuildListener([&] { ++rebuilds; });
    std::vector<std::string> texts{doc->Text()};
    std::vector<std::string> names;

    auto box = doc->Place("ProbeContainer", nullptr, RECT{120, 120, 3120, 2120});
    EXPECT_EQ(doc->Selection(), std::vector{box});
    auto inner = doc->Place("Probe", box.get(), RECT{615, 300, 105, 105});  // drawn from the bottom right
    EXPECT_EQ(inner->Left(), 105);
    EXPECT_EQ(inner->Width(), 510);
    EXPECT_EQ(inner->ContainerControl(), box.get());
    auto solo = doc->Place("Probe", nullptr, RECT{0, 2400, 900, 2700});
    texts.push_back(doc->Text());  // the three places, taken in one look at the end
    doc->SetProperty(std::vector{inner, solo}, "Caption", Variant("both"));
    texts.push_back(doc->Text());
    doc->ZOrder(std::vector{box}, false);
    EXPECT_EQ(doc->Form().Controls().back()->Name(), box->Name());
    texts.push_back(doc->Text());
    doc->Delete(std::vector{solo});
    EXPECT_TRUE(doc->Selection().empty());
    texts.push_back(doc->Text());
    EXPECT_EQ(doc->UndoName(), "Delete");

    // Seven steps: three places, one property, one z-order, one delete.
    doc->Undo();
    EXPECT_EQ(doc->Text(), texts[3]);
    EXPECT_EQ(doc->UndoName(), "Bring to Front");
    EXPECT_EQ(doc->RedoName(), "Delete");
    doc->Undo();
    EXPECT_EQ(doc->Text(), texts[2]);
    doc->Undo();
    EXPECT_EQ(doc->Text(), texts[1]);
    for (int i = 0; i < 3; ++i) doc->Undo();
    EXPECT_EQ(doc->Text(), texts[0]);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->Modified());
    EXPECT_TRUE(doc->Form().Controls().empty());
    EXPECT_EQ(doc->Form().hWnd(), window);
    EXPECT_EQ(rebuilds, 6);

    for (int i = 0; i < 6; ++i) doc->Redo();
    EXPECT_EQ(doc->Text(), texts[4]);
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_EQ(doc->Form().hWnd(), window);
    EXPECT_EQ(ProbeNamed(*doc, inner->Name())->Caption(), "both");
    // The selection is found again by name in the rebuilt controls; one that is gone drops out.
    doc->Select({doc->Form().Find(inner->Name())});
    doc->Undo();
    ASSERT_EQ(doc->Selection().size(), 1u);
    EXPECT_EQ(doc->Selection()[0]->Name(), inner->Name());
    EXPECT_NE(doc->Selection()[0].get(), inner.get());
    for (int i = 0; i < 4; ++i) doc->Undo();
    EXPECT_TRUE(doc->Selection().empty());
    for (int i = 0; i < 5; ++i) doc->Redo();

    // A new step drops the redo steps.
    doc->Undo();
    doc->Commit("Nothing");
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_EQ(doc->UndoName(), "Nothing");
}

TEST_F(DesignDocumentTest, HistoryKeepsTheNewestStepsUpToTheCap) {
    auto doc = DesignDocument::FromText(FormText(R"({"type": "Probe", "name": "prbCount",
        "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300}})"), "cap.json");
    auto probe = doc->Form().Find("prbCount");
    const int steps = static_cast<int>(DesignDocument::kMaxUndoSteps) + 50;
    for (int i = 1; i <= steps; ++i) doc->SetProperty(std::vector{doc->Form().Find("prbCount")}, "Value", Variant(i));
    std::size_t undone = 0;
    while (doc->CanUndo()) {
        doc->Undo();
        ++undone;
    }
    EXPECT_EQ(undone, DesignDocument::kMaxUndoSteps);
    // The oldest state kept is the one after the 50th change; the opened state is gone, so
    // the document stays modified at the start of its history.
    EXPECT_EQ(ProbeNamed(*doc, "prbCount")->Value(), 50);
    EXPECT_TRUE(doc->Modified());
    while (doc->CanRedo()) doc->Redo();
    EXPECT_EQ(ProbeNamed(*doc, "prbCount")->Value(), steps);
}

TEST_F(DesignDocumentTest, RefusedPropertyLeavesEveryControlAsItWasAndCommitsNothing) {
    auto doc = DesignDocument::FromText(FormText(R"(
        {"type": "Probe", "name": "prbFirst", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300}},
        {"type": "CheckBox", "name": "chkSecond", "extender": {"Left": 0, "Top": 400, "Width": 900, "Height": 300}})"),
                                          "refuse.json");
    const std::string before = doc->Text();
    auto first = doc->Form().Find("prbFirst");
    auto second = doc->Form().Find("chkSecond");
    // The probe takes 5; the check box refuses it (0 to 2), so the probe gets its 0 back.
    try {
        doc->SetProperty(std::vector{first, second}, "Value", Variant(5));
        ADD_FAILURE() << "the check box took 5";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kErrInvalidPropertyValue);
    }
    EXPECT_EQ(ProbeNamed(*doc, "prbFirst")->Value(), 0);
    EXPECT_EQ(std::dynamic_pointer_cast<host::CheckBox>(doc->Form().Find("chkSecond"))->Value(), 0);
    EXPECT_EQ(doc->Text(), before);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->Modified());
    // Without controls the form itself takes the value.
    doc->SetProperty({}, "Caption", Variant("Titled"));
    EXPECT_EQ(doc->Form().Caption(), "Titled");
    EXPECT_EQ(doc->UndoName(), "Caption");
    EXPECT_THROW(doc->SetProperty({}, "NoSuchProperty", Variant(1)), host::HostError);
    EXPECT_EQ(doc->UndoName(), "Caption");
}

TEST_F(DesignDocumentTest, CopyAndPasteRenameCollidingNamesAndKeepTheLayout) {
    auto doc = DesignDocument::FromText(FormText(R"(
        {"type": "ProbeContainer", "name": "boxA", "extender": {"Left": 120, "Top": 120, "Width": 3000, "Height": 2000}},
        {"type": "Probe", "name": "prbIn", "container": "boxA",
         "extender": {"Left": 240, "Top": 360, "Width": 900, "Height": 300}, "bag": {"Caption": "inner"}},
        {"type": "CommandButton", "name": "cmdArr", "index": 0, "extender": {"Left": 0, "Top": 2400, "Width": 900, "Height": 300}},
        {"type": "CommandButton", "name": "cmdArr", "index": 1, "extender": {"Left": 1000, "Top": 2400, "Width": 900, "Height": 300}},
        {"type": "Probe", "name": "Probe1", "extender": {"Left": 0, "Top": 3000, "Width": 900, "Height": 300}})"),
                                          "paste.json");
    auto& form = doc->Form();
    const std::string clip = doc->CopyText(std::vector{form.Find("boxA"), form.Find("cmdArr", 0), form.Find("cmdArr", 1)});

    auto pasted = doc->Paste(clip, nullptr);
    ASSERT_EQ(pasted.size(), 4u);
    EXPECT_EQ(doc->Selection(), pasted);
    EXPECT_EQ(doc->UndoName(), "Paste");
    auto box = form.Find("boxA1");
    auto inner = std::dynamic_pointer_cast<Probe>(form.Find("prbIn1"));
    ASSERT_TRUE(box && inner);
    EXPECT_EQ(inner->ContainerControl(), box.get());
    EXPECT_EQ(inner->Left(), 240);
    EXPECT_EQ(inner->Top(), 360);
    EXPECT_EQ(inner->Caption(), "inner");
    EXPECT_EQ(form.ControlArray("cmdArr1").size(), 2u);
    EXPECT_EQ(form.ControlArray("cmdArr").size(), 2u);
    // Pasting again gives a second copy.
    doc->Paste(clip, nullptr);
    EXPECT_TRUE(form.Find("boxA2") && form.Find("prbIn2"));
    EXPECT_EQ(form.Controls().size(), 13u);

    // Into a container: the top records go inside it. A stem with digits counts on.
    const std::string solo = doc->CopyText(std::vector{form.Find("Probe1")});
    doc->Paste(solo, form.Find("boxA").get());
    auto copy = form.Find("Probe2");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->ContainerControl(), form.Find("boxA").get());
    EXPECT_THROW(doc->Paste(solo, form.Find("cmdArr", 0).get()), host::HostError);

    // Into a second document the names are free and kept.
    auto other = DesignDocument::FromText(FormText(""), "other.json");
    other->Paste(clip, nullptr);
    EXPECT_TRUE(other->Form().Find("boxA") && other->Form().Find("prbIn"));
    EXPECT_EQ(other->Form().ControlArray("cmdArr").size(), 2u);

    doc->Undo();
    EXPECT_FALSE(form.Find("Probe2"));

    // A name as long as names may be gets a number within that length.
    const std::string longest(40, 'x');
    auto full = DesignDocument::FromText(FormText(R"({"type": "Probe", "name": ")" + longest +
                                                  R"(", "extender": {"Left": 0, "Top": 0, "Width": 90, "Height": 30}})"),
                                         "long.json");
    full->Paste(full->CopyText(std::vector{full->Form().Find(longest)}), nullptr);
    EXPECT_TRUE(full->Form().Find(std::string(39, 'x') + "1"));
}

TEST_F(DesignDocumentTest, BadFragmentIsRefusedWithItsProblemAndChangesNothing) {
    auto doc = DesignDocument::FromText(FormText(R"(
        {"type": "Probe", "name": "prbOnly", "extender": {"Left": 0, "Top": 0, "Width": 900, "Height": 300}})"),
                                          "frag.json");
    const std::string before = doc->Text();
    const HWND kept = doc->Form().Find("prbOnly")->hWnd();
    auto refused = [&](const std::string& text, const std::string& expected) {
        try {
            doc->Paste(text, nullptr);
            ADD_FAILURE() << "pasted: " << text;
        } catch (const host::FormFileError& e) {
            EXPECT_TRUE(Contains(e.what(), expected)) << e.what();
        }
        EXPECT_EQ(doc->Text(), before);
        EXPECT_FALSE(doc->CanUndo());
        EXPECT_EQ(doc->Form().Find("prbOnly")->hWnd(), kept);
    };
    auto fragment = [](const std::string& records) {
        return R"({"format": "brimlox-fragment", "version": 1, "controls": [)" + records + "]}";
    };
    const std::string extender = R"("extender": {"Left": 0, "Top": 0, "Width": 90, "Height": 30})";
    refused("plain words", "clipboard: bad JSON");
    refused(before, "clipboard: $: a whole form, not a fragment of controls");
    refused(R"({"format": "brimlox-fragment", "version": 7, "controls": []})", "clipboard: version: expected 1");
    refused(fragment(""), "clipboard: controls: no controls to paste");
    refused(fragment(R"({"type": "Nope", "name": "x1", )" + extender + "}"),
            "clipboard: controls[0](x1).type: unknown control type \"Nope\"");
    refused(fragment(R"({"type": "Probe", "name": "x1", )" + extender + R"(, "bag": {"Value": -1}})"),
            "clipboard: controls[0](x1).bag: refused while loading");
    refused(fragment(R"({"type": "Probe", "name": "x1", "container": "elsewhere", )" + extender + "}"),
            "clipboard: controls[0](x1).container: no control \"elsewhere\"");
}

TEST_F(DesignDocumentTest, SaveMarksTheSavedStepAndAFailedWriteKeepsTheDocumentModified) {
    TempFolder folder;
    auto doc = DesignDocument::FromText(FormText(""), folder.File("first.json"));
    doc->Place("Probe", nullptr, RECT{0, 0, 900, 300});
    doc->Place("Probe", nullptr, RECT{0, 400, 900, 700});
    EXPECT_TRUE(doc->Modified());
    const std::string second = folder.File("second.json");
    doc->SaveAs(second);
    EXPECT_EQ(doc->Path(), second);
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(DesignDocument::Open(second)->Text(), doc->Text());

    doc->Undo();
    EXPECT_TRUE(doc->Modified());
    doc->Redo();
    EXPECT_FALSE(doc->Modified());
    // A change made outside the document's edits counts until it is committed.
    ProbeNamed(*doc, "Probe1")->SetCaption("direct");
    EXPECT_TRUE(doc->Modified());
    doc->Commit("Caption");
    EXPECT_TRUE(doc->Modified());
    doc->Undo();
    EXPECT_FALSE(doc->Modified());

    doc->Redo();
    EXPECT_THROW(doc->SaveAs(folder.File("no-such-folder/third.json")), host::FormFileError);
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(doc->Path(), second);
}

}  // namespace
}  // namespace brimlox::test
