#include "cli/drop_report_json.h"

namespace tama05 {

Json DropReportJson(const DropReport& report) {
    Json list = Json::array();
    for (const DroppedFile& file : report.perFile) {
        Json entry;
        entry["path"] = file.path.string();
        entry["read"] = file.read;
        entry["message"] = file.read ? Json(nullptr) : Json(file.message);
        entry["cells"] = file.cells;
        entry["gain"] = JsonNumber(file.gain);
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace tama05
