// tama05-art: draws every picture the game ships (skins, character pictures, the icon and the
// sample content) into the program folder, or the documentation pictures into a docs folder.
//
//   tama05-art <program folder>
//   tama05-art --docs <docs folder>

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/art/character_art.h"
#include "tools/art/docs_art.h"
#include "tools/art/icon_art.h"
#include "tools/art/sample_art.h"
#include "tools/art/skin_art.h"

namespace {

bool WriteProgramArt(const std::filesystem::path& programDir, std::string& error) {
    using namespace tama05::art;
    const SkinDesign defaultSkin = DefaultSkin();
    const SkinDesign nightSkin = NightSkin();
    return WriteSkinFolder(defaultSkin, programDir, error) &&
           WriteSkinFolder(nightSkin, programDir, error) &&
           WriteCharacterPictures(programDir / defaultSkin.folder, defaultSkin.pointDisp.size(),
                                  defaultSkin.assistantDisp.size(), error) &&
           WriteIcons(programDir, error) && WriteSamples(programDir, error);
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen: the offscreen platform is enough, also on build machines.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    QGuiApplication app(argc, argv);
    std::string error;
    bool ok = false;
    if (argc == 3 && std::string(argv[1]) == "--docs") {
        ok = tama05::art::WriteDocsPictures(argv[2], error);
    } else if (argc == 2) {
        ok = WriteProgramArt(argv[1], error);
    } else {
        std::fprintf(stderr, "usage: tama05-art <program folder> | --docs <docs folder>\n");
        return 2;
    }
    if (!ok) {
        std::fprintf(stderr, "tama05-art: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
