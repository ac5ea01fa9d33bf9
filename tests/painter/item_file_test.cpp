#include "painter/item_file.h"

#include <gtest/gtest.h>

#include "painter_test_files.h"

namespace tama05 {
namespace {

using test::painter::Bytes;
using test::painter::ItemForm;
using test::painter::MakeItemFile;
using Message = RecordingMessageSink::Message;

ItemForm PlainItem() {
    ItemForm form;
    form.picture = test::painter::RawPlainBlock(test::PatternBlock(50, 50));
    return form;
}

class ItemFileTest : public ::testing::Test {
  protected:
    int Read(const ItemForm& form) { return ReadBytes(MakeItemFile(form)); }
    int ReadBytes(const Bytes& bytes) {
        return ReadItem(sink, test::WriteFile(folder, "item.itm", bytes), image, record, text);
    }

    test::TempFolder folder;
    RecordingMessageSink sink;
    Image image;
    ItemRecord record;
    ItemTextState text;
};

TEST_F(ItemFileTest, FieldsPictureAndDescription) {
    ItemForm form = PlainItem();
    form.itemClass = 1;
    ASSERT_EQ(Read(form), kItemOk);
    EXPECT_EQ(record.itemClass, 1);
    EXPECT_EQ(record.name, "brush");
    EXPECT_EQ(record.brushShape, -2);
    EXPECT_EQ(record.value1, 1001);
    EXPECT_EQ(record.partShapes, (std::array<int32_t, 5>{3, 4, -1, -1, 5}));
    EXPECT_EQ(record.width, 12);
    EXPECT_EQ(record.hardness, 34);
    EXPECT_EQ(record.density, 56);
    EXPECT_EQ(record.value2, 1002);
    EXPECT_EQ(record.values[0], 2000);
    EXPECT_EQ(record.valueTable[37], 2043);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.description.data())), "short text");
    EXPECT_EQ(image.width(), 50);
    EXPECT_EQ(test::Block(image), test::PatternBlock(50, 50));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ItemFileTest, LongTextReplacesTheDescriptionAndShortOnesKeepTheRest) {
    ItemForm form = PlainItem();
    form.longTextFlag = 1;
    form.longText = std::string(1500, 'L');
    ASSERT_EQ(Read(form), kItemOk);
    EXPECT_EQ(text.description[1499], 'L');
    EXPECT_EQ(text.description[1500], 0);
    // A later item without long text writes only the first 256 bytes of the shared buffer.
    ASSERT_EQ(Read(PlainItem()), kItemOk);
    EXPECT_EQ(text.description[0], 's');
    EXPECT_EQ(text.description[255], 0);
    EXPECT_EQ(text.description[256], 'L');
}

TEST_F(ItemFileTest, OpenFailureHeaderAndVersion) {
    EXPECT_EQ(ReadItem(sink, folder.path() / "missing.itm", image, record, text), kItemNotItem);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"ファイルオープンに失敗しました。ReadItem", "失敗"}}));
    sink.messages.clear();
    ItemForm form = PlainItem();
    form.header = "itm file 0a";
    EXPECT_EQ(Read(form), kItemNotItem);
    form = PlainItem();
    form.version = 2;
    EXPECT_EQ(Read(form), kItemBadVersion);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ItemFileTest, HostileNamesAndPicturesAreRefused) {
    image.CreateFilled(1, 1, 3);
    record.name = "before";
    ItemForm longName = PlainItem();
    longName.name = std::string(256, 'N');  // 257 bytes with its zero
    EXPECT_EQ(Read(longName), kItemDamaged);

    ItemForm fits = PlainItem();
    fits.name = std::string(255, 'N');
    ItemRecord fitting;
    Image fittingImage;
    EXPECT_EQ(ReadItem(sink, test::WriteFile(folder, "fits.itm", MakeItemFile(fits)), fittingImage,
                       fitting, text),
              kItemOk);
    EXPECT_EQ(fitting.name.size(), 255u);

    ItemForm noZero = PlainItem();
    noZero.nameBytes = Bytes(10, 'N');
    EXPECT_EQ(Read(noZero), kItemDamaged);

    ItemForm negative = PlainItem();
    negative.nameLength = -5;
    EXPECT_EQ(Read(negative), kItemDamaged);

    ItemForm hugeLength = PlainItem();
    hugeLength.nameLength = 0x7FFFFFFF;
    EXPECT_EQ(Read(hugeLength), kItemDamaged);

    ItemForm bigCount = PlainItem();
    bigCount.picture = test::painter::RawPlainBlock(Bytes(100, 1), 7601);
    EXPECT_EQ(Read(bigCount), kItemDamaged);

    ItemForm missingLongText = PlainItem();
    missingLongText.longTextFlag = 1;
    Bytes cut = MakeItemFile(missingLongText);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(ReadBytes(cut), kItemDamaged);

    EXPECT_EQ(record.name, "before");
    EXPECT_EQ(image.width(), 1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ItemFileTest, UseItemMakesTheAnswerFiftyByFiftyAndRedraws) {
    Image answer;
    answer.CreateFilled(300, 200, 9);
    int redraws = 0;
    const auto path = test::WriteFile(folder, "use.itm", MakeItemFile(PlainItem()));
    ASSERT_EQ(UseItem(sink, path, answer, text, [&] { ++redraws; }), 0);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(answer.width(), 50);
    EXPECT_EQ(answer.height(), 50);
    EXPECT_EQ(answer.info.biHeight, 50);
    EXPECT_EQ(test::Block(answer), test::PatternBlock(50, 50));

    ItemForm broken = PlainItem();
    broken.version = 1;
    EXPECT_EQ(UseItem(sink, test::WriteFile(folder, "bad.itm", MakeItemFile(broken)), answer, text,
                      [&] { ++redraws; }),
              -1);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(answer.width(), 50);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"アイテムの読み込みに失敗しました。", "失敗"}}));
}

}  // namespace
}  // namespace tama05
