// DriveListBox, DirListBox and FileListBox: lists of the file system that an application
// links so that they follow each other.
#include <algorithm>
#include <filesystem>
#include <fnmatch.h>

#include "platform/host/standard_controls.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace fs = std::filesystem;

namespace {

std::string Normalised(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec || !fs::is_directory(p, ec)) throw HostError(kErrPathNotFound, "Path not found: " + path);
    return p.string();
}

}  // namespace

// ---- DriveListBox ----------------------------------------------------------------------------
const TypeInfo* DriveListBox::GetTypeInfo() const {
    static const auto info = TypeBuilder<DriveListBox>("DriveListBox")
                                 .Property("Drive", &DriveListBox::Drive, &DriveListBox::SetDrive, "Returns/sets the drive.", 0)
                                 .Event("Change", 1, "Occurs when the drive changes, also when code sets it.")
                                 .Build();
    return info.get();
}

void DriveListBox::SetDrive(std::string drive) {
    // This system has one drive, the root of its file system.
    if (drive.empty() || drive[0] != '/') throw HostError(kErrPathNotFound, "Device unavailable: " + drive);
    if (drive == drive_) return;
    drive_ = "/";
    RaiseEvent("Change");
}

void DriveListBox::Paint() {
    RECT r{};
    GetClientRect(hWnd(), &r);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    FillRect(hDC(), &r, brush);
    DeleteObject(brush);
    SetBkMode(hDC(), TRANSPARENT);
    TextOutA(hDC(), 2, 1, drive_.c_str(), static_cast<int>(drive_.size()));
}

// ---- DirListBox ------------------------------------------------------------------------------
const TypeInfo* DirListBox::GetTypeInfo() const {
    static const auto info = TypeBuilder<DirListBox>("DirListBox")
                                 .Property("Path", &DirListBox::Path, &DirListBox::SetPath, "Returns/sets the folder.", 0)
                                 .Get("ListCount", &DirListBox::ListCount, "Returns the number of sub-folders.")
                                 .Method("List", [](DirListBox& d, std::span<Variant> a) { return Variant(d.List(a[0].ToLong())); },
                                         "Returns a sub-folder's full path.", {{"Index"}})
                                 .Event("Change", 1, "Occurs when the folder changes, also when code sets it.")
                                 .Build();
    return info.get();
}

void DirListBox::InitProperties() { SetPath(fs::current_path().string()); }

void DirListBox::SetPath(std::string path) {
    std::string full = Normalised(path);
    if (full == path_) return;
    path_ = full;
    items_.clear();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path_, fs::directory_options::skip_permission_denied, ec))
        if (entry.is_directory(ec)) items_.push_back(entry.path().string());
    std::sort(items_.begin(), items_.end());
    listIndex_ = -1;
    topIndex_ = 0;
    Refresh();
    RaiseEvent("Change");
}

void DirListBox::DblClick() {
    // A double click opens the chosen sub-folder.
    if (listIndex_ >= 0) SetPath(items_[static_cast<std::size_t>(listIndex_)]);
}

// ---- FileListBox -----------------------------------------------------------------------------
const TypeInfo* FileListBox::GetTypeInfo() const {
    static const auto info = TypeBuilder<FileListBox>("FileListBox")
                                 .Property("Path", &FileListBox::Path, &FileListBox::SetPath, "Returns/sets the folder.")
                                 .Property("Pattern", &FileListBox::Pattern, &FileListBox::SetPattern, "Returns/sets the file patterns (\";\" between).")
                                 .Get("FileName", &FileListBox::FileName, "Returns the selected file's name.", 0)
                                 .Get("ListCount", &FileListBox::ListCount, "Returns the number of files.")
                                 .Property("ListIndex", &FileListBox::ListIndex, &FileListBox::SetListIndex, "Returns/sets the selected file.")
                                 .Method("List", [](FileListBox& f, std::span<Variant> a) { return Variant(f.List(a[0].ToLong())); },
                                         "Returns a file name.", {{"Index"}})
                                 .Event("PathChange", 1, "Occurs when the folder changes, also when code sets it.")
                                 .Event("PatternChange", 2, "Occurs when the pattern changes, also when code sets it.")
                                 .Event("Click", -600, "Occurs when the selection changes.")
                                 .Event("DblClick", -601, "Occurs on a double click.")
                                 .Build();
    return info.get();
}

void FileListBox::InitProperties() { SetPath(fs::current_path().string()); }

void FileListBox::SetPath(std::string path) {
    std::string full = Normalised(path);
    if (full == path_) return;
    path_ = full;
    Reload();
    RaiseEvent("PathChange");
}

void FileListBox::SetPattern(std::string pattern) {
    if (pattern.empty()) pattern = "*.*";
    if (pattern == pattern_) return;
    pattern_ = std::move(pattern);
    Reload();
    RaiseEvent("PatternChange");
}

void FileListBox::Reload() {
    items_.clear();
    listIndex_ = -1;
    topIndex_ = 0;
    if (path_.empty()) return;
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= pattern_.size()) {
        std::size_t end = pattern_.find(';', start);
        if (end == std::string::npos) end = pattern_.size();
        std::string one = pattern_.substr(start, end - start);
        // "*.*" means every file, also those without a dot.
        patterns.push_back(one == "*.*" ? "*" : one);
        start = end + 1;
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path_, fs::directory_options::skip_permission_denied, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        std::string name = entry.path().filename().string();
        for (const auto& p : patterns)
            if (fnmatch(p.c_str(), name.c_str(), 0) == 0) {
                items_.push_back(name);
                break;
            }
    }
    std::sort(items_.begin(), items_.end());
    Refresh();
}

void FileListBox::ReadProperties(PropertyBag& bag) {
    pattern_ = bag.ReadProperty("Pattern", Variant("*.*")).ToString();
    if (pattern_.empty()) pattern_ = "*.*";
}

void FileListBox::WriteProperties(PropertyBag& bag) { bag.WriteProperty("Pattern", Variant(pattern_), Variant("*.*")); }

}  // namespace brimlox::host
