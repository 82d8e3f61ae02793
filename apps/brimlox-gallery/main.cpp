// brimlox-gallery: shows the library's drawing. Until the controls exist it renders the
// platform's drawing (fills, hatches, pens, shapes, edges, blits and text) as one PNG per
// scene, with an index.html that shows them with captions, and says where they are.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/brimlox-gallery/scenes.h"
#include "platform/gdi/gdi.h"

namespace {

struct Options {
    std::string out = "gallery-out";
    bool help = false;
    std::string error;
};

Options ParseArguments(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) o.out = argv[++i];
        else if (a == "--headless") continue;  // scenes are always written to files for now
        else if (a == "--help" || a == "-h") o.help = true;
        else o.error = "unknown argument '" + a + "'";
    }
    return o;
}

// Renders one scene into a fresh 32-bpp bitmap and writes it as a PNG.
bool RenderScene(const brimlox::gallery::Scene& scene, const std::string& path, std::string* error) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(scene.width, scene.height, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    scene.draw(dc, scene.width, scene.height);
    bool ok = brimlox::gdi::WritePng(dc, path, error);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return ok;
}

void WriteIndex(const std::string& dir, const std::vector<brimlox::gallery::Scene>& scenes) {
    std::ofstream html(dir + "/index.html");
    html << "<!doctype html><meta charset=\"utf-8\"><title>Brimlox gallery</title>\n"
            "<body style=\"font-family:sans-serif;background:#eee\"><h1>Brimlox gallery</h1>\n";
    for (const auto& s : scenes)
        html << "<figure><img src=\"" << s.name << ".png\" style=\"image-rendering:pixelated;zoom:2\">"
             << "<figcaption>" << s.caption << "</figcaption></figure>\n";
    html << "</body>\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options o = ParseArguments(argc, argv);
    if (o.help || !o.error.empty()) {
        if (!o.error.empty()) std::fprintf(stderr, "brimlox-gallery: %s\n", o.error.c_str());
        std::fputs("usage: brimlox-gallery [--headless] [--out DIR]\n"
                   "Renders the gallery's scenes to DIR (default gallery-out): one PNG per scene and index.html.\n",
                   o.error.empty() ? stdout : stderr);
        return o.error.empty() ? 0 : 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);
    if (ec) {
        std::fprintf(stderr, "brimlox-gallery: cannot create %s: %s\n", o.out.c_str(), ec.message().c_str());
        return 1;
    }
    const auto scenes = brimlox::gallery::Scenes();
    for (const auto& scene : scenes) {
        std::string path = o.out + "/" + scene.name + ".png";
        std::string error;
        if (!RenderScene(scene, path, &error)) {
            std::fprintf(stderr, "brimlox-gallery: %s\n", error.c_str());
            return 1;
        }
        std::printf("brimlox-gallery: wrote %s\n", std::filesystem::absolute(path).c_str());
    }
    WriteIndex(o.out, scenes);
    std::printf("brimlox-gallery: open %s\n", std::filesystem::absolute(o.out + "/index.html").c_str());
    return 0;
}
