#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs the built image compiler on sprite sources written to a scratch folder.
class ImageCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::current_path() / "imagec";  // in the test's own folder
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& text) {
        const fs::path p = dir / name;
        std::ofstream(p) << text;
        return p.string();
    }

    // Runs imagec on the sources; keeps its stderr in `messages`. Returns the exit status.
    int run(const std::vector<std::string>& sources) {
        std::string command = std::string(BOLTFEVER_BINARY_DIR) + "/imagec -o " + output().string();
        for (const std::string& s : sources) command += " " + s;
        command += " 2> " + (dir / "stderr.txt").string();
        const int status = std::system(command.c_str());
        std::ifstream in(dir / "stderr.txt");
        std::stringstream text;
        text << in.rdbuf();
        messages = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path output() const { return dir / "ImageBank.cpp"; }

    // The pixels the compiler wrote for image `index`.
    std::vector<unsigned> pixelsOf(int index) {
        std::ifstream in(output());
        std::stringstream text;
        text << in.rdbuf();
        const std::string all = text.str();
        const std::string head = "kPixels" + std::to_string(index) + "[";
        const size_t start = all.find(head);
        if (start == std::string::npos) return {};
        const size_t open = all.find('{', start), close = all.find('}', start);
        std::vector<unsigned> values;
        for (size_t at = all.find("0x", open); at < close; at = all.find("0x", at + 6))
            values.push_back(static_cast<unsigned>(std::stoul(all.substr(at + 2, 4), nullptr, 16)));
        return values;
    }

    fs::path dir;
    std::string messages;
};

std::string blankRows(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y) rows += std::string(static_cast<size_t>(width), '.') + "\n";
    return rows;
}

// A source defining every bank index as a blank image of the right size, except those listed
// in `skip`. The palette is two colours: '.' black and 'X' white.
std::string completeSource(const std::vector<int>& skip = {}) {
    std::string text = "colour . #000000\ncolour X 0xFFFF\n\n";
    for (int i = 0; i < 117; ++i) {
        if (std::find(skip.begin(), skip.end(), i) != skip.end()) continue;
        int w = 8, h = 8;
        if (i == 0 || i == 2) h = 2;
        if (i == 1 || i == 3) w = 2;
        if (i == 4) w = 320, h = 240;
        text += "image " + std::to_string(i) + " blank\n" + blankRows(w, h) + "\n";
    }
    return text;
}

// The line number at which `needle` starts in `text`.
int lineOf(const std::string& text, const std::string& needle) {
    const size_t at = text.find(needle);
    return at == std::string::npos
               ? -1
               : 1 + static_cast<int>(
                         std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

}  // namespace

// A complete set compiles, and the derived facings are the hand-drawn one mirrored and turned.
TEST_F(ImageCompiler, DerivesFacingsByMirrorAndTurn) {
    // One white pixel at column 1 of the top row of an 8 x 8 picture.
    const std::string source = completeSource({5, 6, 7, 8, 9, 10}) +
                               "image 5 hand-drawn\n.X......\n" + blankRows(8, 7) +
                               "\nimage 6 turned = cw 5\n"
                               "image 7 mirrored = mirror 5\n"
                               "image 8 turned-back = ccw 5\n"
                               "image 9 upside-down = half 5\n"
                               "image 10 flipped = flip 5\n";
    ASSERT_EQ(run({write("all.txt", source)}), 0) << messages;
    // Where the pixel at (1, 0) lands, worked out on paper: a quarter turn clockwise takes the
    // top row to the right-hand column, (x, y) -> (7 - y, x); mirroring takes x to 7 - x;
    // anticlockwise (x, y) -> (y, 7 - x); half a turn (7 - x, 7 - y); flipping y to 7 - y.
    const std::map<int, std::pair<int, int>> expected = {{5, {1, 0}}, {6, {7, 1}}, {7, {6, 0}},
                                                         {8, {0, 6}}, {9, {6, 7}}, {10, {1, 7}}};
    for (const auto& [index, at] : expected) {
        const std::vector<unsigned> px = pixelsOf(index);
        ASSERT_EQ(px.size(), 64u) << "image " << index;
        for (int p = 0; p < 64; ++p)
            EXPECT_EQ(px[static_cast<size_t>(p)], p == at.second * 8 + at.first ? 0xFFFFu : 0u)
                << "image " << index << " pixel " << p % 8 << ", " << p / 8;
    }
    // The bullet strips keep their own shapes: image 1 is 2 x 8.
    EXPECT_EQ(pixelsOf(1).size(), 16u);
}

// Colours are given as RGB888 (rounded to the nearest RGB565) or as RGB565 directly.
TEST_F(ImageCompiler, ReadsBothColourNotations) {
    const std::string source = completeSource({5}) +
                               "colour r #FF0000\ncolour g #00FF00\ncolour m #808080\n"
                               "colour k 0x1234\n"
                               "image 5 colours\nrgmk....\n" +
                               blankRows(8, 7);
    ASSERT_EQ(run({write("all.txt", source)}), 0) << messages;
    const std::vector<unsigned> px = pixelsOf(5);
    ASSERT_EQ(px.size(), 64u);
    // #808080: 128 * 31 / 255 = 15.6 -> 16 and 128 * 63 / 255 = 31.6 -> 32: 0x8410.
    EXPECT_EQ(px[0], 0xF800u);
    EXPECT_EQ(px[1], 0x07E0u);
    EXPECT_EQ(px[2], 0x8410u);
    EXPECT_EQ(px[3], 0x1234u);
}

// Each fault stops the build with status 1, a message naming the file and the line to fix,
// and no output for the build to pick up.
TEST_F(ImageCompiler, RefusesFaultsNamingFileAndLine) {
    struct SCase {
        const char* what;
        std::string text;
        std::string lineOfFault;  // text at the start of the line the message must name
        const char* says;
    };
    const std::string wrongSize = completeSource({20}) + "image 20 too-short\n" + blankRows(8, 7);
    const std::string unknownChar = completeSource({20}) + "image 20 stray\n" + blankRows(8, 3) +
                                    "...Q....\n" + blankRows(8, 4);
    const std::string ragged = completeSource({20}) + "image 20 ragged\n" + blankRows(8, 2) +
                               "XXXXXXX\n" + blankRows(8, 5);
    const std::string duplicate = completeSource() + "image 20 again\n" + blankRows(8, 8);
    const std::string badColour = "colour Z #12345\n" + completeSource();
    const std::string badSource = completeSource({20}) + "image 20 made-up = mirror 200\n";
    const std::string badOp = completeSource({20}) + "image 20 made-up = spin 19\n";
    const SCase cases[] = {
        {"wrong size", wrongSize, "image 20 too-short", "8 x 7"},
        {"unknown character", unknownChar, "...Q....", "unknown character 'Q'"},
        {"ragged row", ragged, "XXXXXXX", "7 pixels wide"},
        {"duplicate index", duplicate, "image 20 again", "already defined at"},
        {"bad colour", badColour, "colour Z", "bad colour"},
        {"undefined source", badSource, "image 20 made-up", "which is not defined above it"},
        {"unknown operation", badOp, "image 20 made-up", "unknown operation \"spin\""},
    };
    for (const SCase& c : cases) {
        const std::string path = write("sprites.txt", c.text);
        fs::remove(output());
        EXPECT_EQ(run({path}), 1) << c.what;
        const std::string where = path + ":" + std::to_string(lineOf(c.text, c.lineOfFault)) + ":";
        EXPECT_NE(messages.find(where), std::string::npos) << c.what << ": " << messages;
        EXPECT_NE(messages.find(c.says), std::string::npos) << c.what << ": " << messages;
        EXPECT_FALSE(fs::exists(output())) << c.what;
    }
}

// A gap in the bank is reported at the image that follows it, across files too; a gap at the
// very end at the last image defined.
TEST_F(ImageCompiler, RefusesMissingIndices) {
    const std::string first = completeSource({65, 66, 67, 68, 69, 70, 116});
    const std::string path = write("a.txt", first);
    const std::string second = "colour . #000000\n\nimage 70 late\n" + blankRows(8, 8);
    const std::string secondPath = write("b.txt", second);
    EXPECT_EQ(run({path, secondPath}), 1);
    EXPECT_NE(messages.find(secondPath + ":3: before this image, images 65..69 are missing"),
              std::string::npos)
        << messages;
    const std::string last = path + ":" + std::to_string(lineOf(first, "image 115 ")) + ":";
    EXPECT_NE(messages.find(last + " after this image, image 116 is missing"), std::string::npos)
        << messages;
}

// The title picture comes from the generator as a PPM; a broken one is refused by name.
TEST_F(ImageCompiler, ReadsAndChecksThePicture) {
    const std::string sources = write("all.txt", completeSource({4}));
    const std::string good = (dir / "title.ppm").string();
    {
        std::ofstream out(good, std::ios::binary);
        out << "P6\n# painted\n320 240\n255\n";
        for (int i = 0; i < 320 * 240; ++i) out << '\xff' << '\x00' << '\x00';
    }
    EXPECT_EQ(run({"--picture 4 " + good, sources}), 0) << messages;
    const std::vector<unsigned> px = pixelsOf(4);
    ASSERT_EQ(px.size(), 320u * 240u);
    EXPECT_EQ(px[0], 0xF800u);

    const std::string small = write("small.ppm", "P6\n8 8\n255\n" + std::string(192, '\0'));
    EXPECT_EQ(run({"--picture 4 " + small, sources}), 1);
    EXPECT_NE(messages.find(small + ": the picture is 8 x 8, image 4 must be 320 x 240"),
              std::string::npos)
        << messages;
    const std::string cut = write("cut.ppm", "P6\n320 240\n255\nabc");
    EXPECT_EQ(run({"--picture 4 " + cut, sources}), 1);
    EXPECT_NE(messages.find(cut + ": the picture is cut short"), std::string::npos) << messages;
}
