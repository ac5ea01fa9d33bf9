#include "cli/skin_command.h"

#include <filesystem>
#include <vector>

#include "cli/json_writer.h"
#include "skin/skin_layout.h"

namespace tama05 {

namespace {

constexpr std::string_view kUsage = "usage: tama05-cli skin DIR... [--json]";

void WriteJson(const SkinLayout& layout, const SkinScanReport& report, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("values");
    json.BeginObject();
    for (int i = 0; i < kSkinKeyCount; ++i) {
        const auto key = static_cast<SkinKey>(i);
        json.Key(SkinKeyName(key));
        if (key == SkinKey::kVersion && !layout.versionTaken) {
            json.Null();
        } else {
            json.Int(layout[key]);
        }
    }
    json.EndObject();
    json.Key("colours");
    json.BeginObject();
    for (int c = 0; c < kSkinColorCount; ++c) {
        const auto color = static_cast<SkinColor>(c);
        json.Key(SkinColorName(color));
        json.Int(layout.color(color));
    }
    json.EndObject();
    for (const auto& [name, keys] :
         {std::pair{"taken", &report.taken}, std::pair{"failed", &report.failed}}) {
        json.Key(name);
        json.BeginArray();
        for (SkinKey key : *keys) {
            json.String(SkinKeyName(key));
        }
        json.EndArray();
    }
    json.EndObject();
    out << '\n';
}

void WriteText(const SkinLayout& layout, const SkinScanReport& report, std::ostream& out) {
    for (int i = 0; i < kSkinKeyCount; ++i) {
        const auto key = static_cast<SkinKey>(i);
        out << SkinKeyName(key) << '=';
        if (key == SkinKey::kVersion && !layout.versionTaken) {
            out << "(none)";
        } else {
            out << layout[key];
        }
        out << '\n';
    }
    for (int c = 0; c < kSkinColorCount; ++c) {
        const auto color = static_cast<SkinColor>(c);
        out << SkinColorName(color) << '=' << layout.color(color) << '\n';
    }
    for (const auto& [name, keys] :
         {std::pair{"taken:", &report.taken}, std::pair{"failed:", &report.failed}}) {
        out << name;
        for (SkinKey key : *keys) {
            out << ' ' << SkinKeyName(key);
        }
        out << '\n';
    }
}

}  // namespace

int RunSkinCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    bool json = false;
    std::vector<std::filesystem::path> folders;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--json") {
            json = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            messages.ShowMessage(kUsage, "tama05-cli");
            return 2;
        } else {
            folders.emplace_back(arg);
        }
    }
    if (folders.empty()) {
        messages.ShowMessage(kUsage, "tama05-cli");
        return 2;
    }
    SkinLayout layout;
    SkinScanReport report;
    for (const std::filesystem::path& folder : folders) {
        if (ReadSkinText(folder, layout, &report) != 0) {
            messages.ShowMessage(kSkinTextMissingMessage, kSkinTextMissingCaption);
            return 1;
        }
    }
    if (json) {
        WriteJson(layout, report, out);
    } else {
        WriteText(layout, report, out);
    }
    return 0;
}

}  // namespace tama05
