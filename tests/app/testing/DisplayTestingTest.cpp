#include "app/testing/DisplayTesting.h"

#include "pictures/BmpCodec.h"
#include "settings/Vocabulary.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

using Kinds = std::vector<LineEvent::Kind>;

int codePageRow(int codePageName) {
    for (std::size_t i = 0; i < CodePages.size(); ++i)
        if (CodePages[i].CodePageName == codePageName)
            return static_cast<int>(i);
    return -1;
}

// On a KT350-MK, which draws QR codes itself; the QR pictures go to a KT750--MK.
class DisplayTestingTest : public SimulatedWorkflowTest {
protected:
    DisplayTestingTest() { startDisplay(5); }

    // The writes, the speed changes and the opening and closing of the port.
    std::vector<std::string> lineStory() const {
        std::vector<std::string> story;
        for (const LineEvent& e : line.events()) {
            if (e.kind == LineEvent::Open)
                story.push_back("open " + std::to_string(e.baudRate));
            else if (e.kind == LineEvent::Close)
                story.push_back("close");
            else if (e.kind == LineEvent::Speed)
                story.push_back("speed " + std::to_string(e.baudRate));
            else if (e.bytes.size() <= 8)
                story.push_back(hexOf(e.bytes));
            else
                story.push_back(std::to_string(e.bytes.size()) + " bytes");
        }
        return story;
    }

    static std::string hexOf(const Bytes& bytes) {
        static const char* digits = "0123456789ABCDEF";
        std::string hex;
        for (unsigned char b : bytes)
            hex += std::string(hex.empty() ? "" : " ") + digits[b >> 4] + digits[b & 15];
        return hex;
    }

    TempFolder folder;
};

TEST_F(DisplayTestingTest, TestTextIsConvertedCutAndPositioned) {
    TTestText test{"1234567890ABCDEFGHIJ", codePageRow(437), true, 20, 4};
    ASSERT_TRUE(btn_TextSendClick(connection, op, test));
    EXPECT_EQ(line.writes().back(), wire("1F 24 14 04") + "1234567890ABCDEFGHIJ");

    // Twenty Chinese characters are forty bytes in code page 936: all of them go.
    std::string chinese;
    for (int i = 0; i < 20; ++i)
        chinese += "\xE4\xB8\xAD"; // 中, D6 D0 in GBK
    test = {chinese, codePageRow(936), false, 1, 1};
    ASSERT_TRUE(btn_TextSendClick(connection, op, test));
    Bytes gbk;
    for (int i = 0; i < 20; ++i)
        gbk += wire("D6 D0");
    EXPECT_EQ(line.writes().back(), gbk);

    // One more is cut at 40 bytes.
    test.text += "\xE4\xB8\xAD";
    ASSERT_TRUE(btn_TextSendClick(connection, op, test));
    EXPECT_EQ(line.writes().back(), gbk);
    EXPECT_TRUE(op.boxes.empty());

    connection.CurrentPortName = "/dev/ttyNONE";
    EXPECT_FALSE(btn_TextSendClick(connection, op, test));
    EXPECT_FALSE(btn_ClearDisplayClick(connection, op));
    ASSERT_EQ(op.boxes.size(), 2u);
    EXPECT_EQ(op.boxes[0].flags, 16);
    EXPECT_NE(op.boxes[0].text.find("Error opening serial port"), std::string::npos)
        << op.boxes[0].text;
}

TEST_F(DisplayTestingTest, SampleButtonsSendTheirFramesUnchanged) {
    ASSERT_TRUE(actCodePageTestExecute(connection, op, 204));
    Bytes frame = wire("0B");
    for (int c = 0xE0; c <= 0xEF; ++c)
        frame.push_back(static_cast<char>(c));
    frame += wire("20 20 20 20");
    for (int c = 0xF0; c <= 0xFF; ++c)
        frame.push_back(static_cast<char>(c));
    frame += wire("20 20 20 20");
    EXPECT_EQ(line.writes().back(), frame);

    ASSERT_TRUE(actCodePageTestExecute(connection, op, 101));
    EXPECT_EQ(line.writes().back(),
              wire("0B202122232425262728292a2b2c2d2e2f20202020303132333435363738393a3b3c3d3e3f2"
                   "0202020"));

    const std::size_t writes = line.writes().size();
    EXPECT_FALSE(actCodePageTestExecute(connection, op, 104));
    EXPECT_FALSE(actCodePageTestExecute(connection, op, 0));
    EXPECT_EQ(line.writes().size(), writes);
}

TEST(CentredTestText, CentresInTwentyCharactersWithoutTrimming) {
    EXPECT_EQ(CentredTestText("ABC"), std::string(8, ' ') + "ABC" + std::string(9, ' '));
    EXPECT_EQ(CentredTestText(std::string(21, 'x')), std::string(21, 'x'));
    EXPECT_EQ(CentredTestText(""), std::string(20, ' '));
    // Spaces of an earlier centring count: the text is already 20 long.
    EXPECT_EQ(CentredTestText(CentredTestText("AB")), CentredTestText("AB"));
    // Lengths are UTF-16 units: the euro sign is one, the emoji two.
    EXPECT_EQ(CentredTestText("\xE2\x82\xAC"),
              std::string(9, ' ') + "\xE2\x82\xAC" + std::string(10, ' '));
    EXPECT_EQ(CentredTestText("\xF0\x9F\x98\x80"),
              std::string(9, ' ') + "\xF0\x9F\x98\x80" + std::string(9, ' '));
}

TEST_F(DisplayTestingTest, QrCodesByTextOnlyWhereTheModelEncodesThem) {
    std::string openError;
    ASSERT_TRUE(ShowQrCodeOfText(connection, op, FindModel(5), 3, "Hi\xC3\xA9", openError));
    EXPECT_EQ(line.writes().back(), wire("02 07 1D 03 00 48 69 E9 00"));
    ASSERT_TRUE(btn_ShowQrCodeAtClick(connection, op, FindModel(3), 1, 10, "Hi"));
    EXPECT_EQ(line.writes().back(), wire("02 07 1E 01 0A 48 69 00"));

    const std::size_t writes = line.writes().size();
    for (int model : {-1, 0, 2, 4})
        EXPECT_FALSE(btn_ShowQrCodeAtClick(connection, op, FindModel(model), 2, 1, "Hi"));
    EXPECT_FALSE(ShowQrCodeOfText(connection, op, FindModel(-1), 2, "Hi", openError));
    EXPECT_EQ(line.writes().size(), writes);
    EXPECT_TRUE(op.boxes.empty());
}

TEST_F(DisplayTestingTest, PictureFromAFileGoesAt115200AndTheLinkComesBack) {
    startDisplay(4);
    Bitmap picture(96, 96, kWhite);
    for (int x = 0; x < 48; ++x)
        for (int y = 0; y < 96; ++y)
            picture.setPixel(x, y, Rgb{});
    const std::string file = (folder.path() / "qr.Bmp").string();
    folder.write("qr.Bmp", EncodeBmp(picture));

    std::string openError;
    ASSERT_TRUE(ShowQrPicture(
        connection, op, 3, [&file] { return QrPictureOfFile(file); }, openError));
    std::vector<std::string> expected = {"open 9600", "02 07 04 00 01 C2 00", "speed 115200",
                                         "02 07 19 03 00"};
    for (int piece = 0; piece < 18; ++piece)
        expected.push_back("256 bytes");
    expected.insert(expected.end(), {"02 07 19 00", "02 07 04 00 00 25 80", "close"});
    EXPECT_EQ(lineStory(), expected);
    Bytes bits;
    for (std::size_t i = 2; i < 20; ++i)
        bits += line.writes()[i];
    Bytes row = Bytes(12, '\xFF') + Bytes(12, '\0');
    EXPECT_EQ(bits.substr(0, 24), row);
    EXPECT_EQ(bits.substr(4608 - 24), row);
    EXPECT_TRUE(op.boxes.empty());

    // 500 ms after the link switch the port follows; 100 ms later the header.
    EXPECT_EQ(line.events()[2].at - line.events()[1].at, 500ms);
    EXPECT_EQ(line.events()[3].at - line.events()[2].at, 200ms);
}

TEST_F(DisplayTestingTest, EveryFailedPictureSetsTheLinkBackBeforeSayingWhy) {
    startDisplay(4);
    connection.CurrentBaudRate = 19200;
    std::string openError;
    const std::string missing = (folder.path() / "none.png").string();
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2, [&] { return QrPictureOfFile(missing); }, openError));
    EXPECT_EQ(lineStory(),
              (std::vector<std::string>{"open 19200", "02 07 04 00 01 C2 00", "speed 115200",
                                        "02 07 04 00 00 4B 00", "close"}));
    EXPECT_EQ(op.lastBox(), (Box{"Error\xEF\xBC\x9A"
                                 "21\nThe picture file does not exist.",
                                 16}));

    // A file the decoder refuses: its message, and the display back at its speed.
    folder.write("bad.jpg", "not a jpeg");
    const std::string bad = (folder.path() / "bad.jpg").string();
    const std::size_t events = line.events().size();
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2, [&] { return QrPictureOfFile(bad); }, openError));
    std::vector<std::string> story = lineStory();
    story.erase(story.begin(), story.begin() + static_cast<long>(events));
    EXPECT_EQ(story, (std::vector<std::string>{"open 19200", "02 07 04 00 01 C2 00", "speed 115200",
                                               "02 07 04 00 00 4B 00", "close"}));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_NE(op.lastBox().text.find("bad.jpg"), std::string::npos) << op.lastBox().text;

    // A name that is no picture.
    folder.write("qr.txt", "text");
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2, [&] { return QrPictureOfFile((folder.path() / "qr.txt").string()); },
        openError));
    EXPECT_EQ(op.lastBox().text.rfind("Error\xEF\xBC\x9A"
                                      "19\nThe file is not a picture",
                                      0),
              0u)
        << op.lastBox().text;
    EXPECT_TRUE(openError.empty());
    EXPECT_FALSE(line.isOpen());

    // The end mark that does not go out: the code, then which write failed and why. The
    // line fails from the first piece's last write on.
    line.onWrite = [this, toDisplay = line.onWrite](const Bytes& written) {
        toDisplay(written);
        if (written.size() == 256)
            line.failWrites = true;
    };
    line.failWrites = false;
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2,
        [] {
            return TQrPicture{Bytes(256, '\0'), 0, {}};
        },
        openError));
    EXPECT_EQ(op.lastBox(), (Box{"Error\xEF\xBC\x9A"
                                 "18\nThe end of the QR picture could not be written to the "
                                 "port: 1: 5 (Input/output error)",
                                 16}));
}

TEST_F(DisplayTestingTest, PictureMadeFromTheTextOnModelsWithoutAnEncoder) {
    startDisplay(4);
    std::string openError;
    ASSERT_TRUE(
        ShowQrCodeOfText(connection, op, FindModel(4), 1, "1234567890ABCDEFGHIJ", openError));
    const auto writes = line.writes();
    ASSERT_EQ(writes.size(), 1u + 1u + 18u + 1u + 1u);
    EXPECT_EQ(writes[1], wire("02 07 19 01 00"));
    EXPECT_EQ(writes[20], wire("02 07 19 00"));
}

// What no display can take is refused alike on the models that draw QR codes and on
// those that take a picture, before the port is touched.
TEST_F(DisplayTestingTest, QrTextsTheDisplayCannotTakeAreRefusedOnEveryModel) {
    std::string openError;
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"", "There is no text to make a QR code of."},
        {std::string(251, 'x'),
         "The text is too long for a QR code: 251 bytes, the display takes at most 250."},
        {std::string(10000, 'x'), "The text is too long for a QR code: 10000 bytes"},
        {"ab\xE9z", "The text is not valid UTF-8 (byte 3)"},
        {"\xC0\xAF", "The text is not valid UTF-8 (byte 1)"},     // overlong "/"
        {"\xED\xA0\x80", "The text is not valid UTF-8 (byte 1)"}, // a lone surrogate
        {std::string("a\0b", 3), "The text holds a zero byte"},
    };
    for (const auto& [text, problem] : refused) {
        for (int model : {0, 2, 5, 6}) {
            SCOPED_TRACE(std::to_string(model) + " " + problem);
            op.boxes.clear();
            EXPECT_FALSE(ShowQrCodeOfText(connection, op, FindModel(model), 2, text, openError));
            ASSERT_EQ(op.boxes.size(), 1u);
            EXPECT_EQ(op.lastBox().text.rfind(problem, 0), 0u) << op.lastBox().text;
        }
        EXPECT_FALSE(btn_ShowQrCodeAtClick(connection, op, FindModel(3), 2, 1, text));
    }
    // A character ISO-8859-1 does not have would reach the display as "?".
    EXPECT_FALSE(ShowQrCodeOfText(connection, op, FindModel(5), 2, "5 \xE2\x82\xAC", openError));
    EXPECT_EQ(op.lastBox().text,
              "The display draws QR codes of ISO-8859-1 text, which has no \"\xE2\x82\xAC\".");
    EXPECT_TRUE(line.events().empty());

    // The longest text fills the display's 256 bytes exactly, on either kind of model.
    ASSERT_TRUE(
        ShowQrCodeOfText(connection, op, FindModel(5), 2, std::string(250, 'x'), openError));
    EXPECT_EQ(line.writes().back(), wire("02 07 1D 02 00") + std::string(250, 'x') + '\0');
    ASSERT_TRUE(
        ShowQrCodeOfText(connection, op, FindModel(0), 2, std::string(250, 'x'), openError));
}

TEST_F(DisplayTestingTest, ASessionThatDoesNotOpenEndsThePictureSilently) {
    connection.CurrentPortName = "/dev/ttyNONE";
    std::string openError;
    bool made = false;
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2,
        [&made] {
            made = true;
            return TQrPicture{};
        },
        openError));
    EXPECT_FALSE(made);
    EXPECT_TRUE(op.boxes.empty());
    EXPECT_NE(openError.find("Error opening serial port"), std::string::npos) << openError;
}

} // namespace
} // namespace tavisto::testing
