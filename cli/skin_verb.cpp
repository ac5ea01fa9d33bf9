// tama05-cli skin: the layout a series of skin folders leaves in force.
#include <filesystem>
#include <memory>
#include <vector>

#include "cli/json_output.h"
#include "cli/verb.h"
#include "skin/skin_layout.h"

namespace tama05 {

namespace {

Json SkinJson(const SkinLayout& layout, const SkinScanReport& report) {
    Json values = Json::object();
    for (int i = 0; i < kSkinKeyCount; ++i) {
        const auto key = static_cast<SkinKey>(i);
        values[SkinKeyName(key)] =
            key == SkinKey::kVersion && !layout.versionTaken ? Json(nullptr) : Json(layout[key]);
    }
    Json colours = Json::object();
    for (int c = 0; c < kSkinColorCount; ++c) {
        const auto color = static_cast<SkinColor>(c);
        colours[SkinColorName(color)] = layout.color(color);
    }
    Json json;
    json["values"] = std::move(values);
    json["colours"] = std::move(colours);
    for (const auto& [name, keys] :
         {std::pair{"taken", &report.taken}, std::pair{"failed", &report.failed}}) {
        Json list = Json::array();
        for (SkinKey key : *keys) {
            list.push_back(SkinKeyName(key));
        }
        json[name] = std::move(list);
    }
    return json;
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

Verb DefineSkinVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "skin", "Show the layout that skin folders, read in turn, leave in force.");
    struct Options {
        std::vector<std::string> folders;
        bool json = false;
    };
    auto options = std::make_shared<Options>();
    command->add_option("DIR", options->folders, "Skin folders, each holding a skin.txt")
        ->type_name("")
        ->required();
    command->add_flag("--json", options->json, "Print the report as JSON");
    SetVerbFooter(*command, "tama05-cli skin skins/default skins/mine --json",
                  R"({"values": {KEY: number, "VERSION" null until read}, )"
                  R"("colours": {NAME: 0xBBGGRR as a number}, "taken": [keys], "failed": [keys]})",
                  "a folder has no skin.txt");
    return {command, [options](VerbContext& context) {
                SkinLayout layout;
                SkinScanReport report;
                for (const std::string& folder : options->folders) {
                    if (ReadSkinText(folder, layout, &report) != 0) {
                        context.messages.ShowMessage(kSkinTextMissingMessage,
                                                     kSkinTextMissingCaption);
                        return kVerbFailed;
                    }
                }
                if (options->json) {
                    PrintJson(context.out, SkinJson(layout, report));
                } else {
                    WriteText(layout, report, context.out);
                }
                return kVerbDone;
            }};
}

}  // namespace tama05
