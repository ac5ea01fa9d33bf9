#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tama05 {
namespace {

TEST(JsonWriter, NestsAndPlacesCommas) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("a");
    json.Int(-1);
    json.Key("b");
    json.BeginArray();
    json.String("x");
    json.Null();
    json.Bool(true);
    json.BeginObject();
    json.EndObject();
    json.EndArray();
    json.Key("c");
    json.BeginArray();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(out.str(), R"({"a":-1,"b":["x",null,true,{}],"c":[]})");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControls) {
    std::ostringstream out;
    JsonWriter json(out);
    json.String("a\"b\\c\nd\x01 終了");
    EXPECT_EQ(out.str(), "\"a\\\"b\\\\c\\nd\\u0001 終了\"");
}

}  // namespace
}  // namespace tama05
