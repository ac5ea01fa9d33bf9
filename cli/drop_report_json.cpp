#include "cli/drop_report_json.h"

namespace tama05 {

void WriteDropReportMember(JsonWriter& json, const DropReport& report) {
    json.Key("report");
    json.BeginArray();
    for (const DroppedFile& file : report.perFile) {
        json.BeginObject();
        json.Key("path");
        json.String(file.path.string());
        json.Key("read");
        json.Bool(file.read);
        json.Key("message");
        if (file.read) {
            json.Null();
        } else {
            json.String(file.message);
        }
        json.Member("cells", file.cells);
        json.Key("gain");
        json.Double(file.gain);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace tama05
