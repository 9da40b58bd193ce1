#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "render/ContactSheet.h"

// The sheet is a PNG big enough to hold the title picture at twice its size; a folder that
// does not exist gives a reason instead of a file.
TEST(ContactSheet, WritesAPngOrSaysWhyNot) {
    const std::filesystem::path path = std::filesystem::current_path() / "contact-sheet-test.png";
    std::string error;
    ASSERT_TRUE(writeContactSheet(path.string(), error)) << error;
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head) + 1, 3), "PNG");
    // IHDR: width and height, big-endian, at bytes 16 and 20.
    const unsigned width = head[16] << 24 | head[17] << 16 | head[18] << 8 | head[19];
    const unsigned height = head[20] << 24 | head[21] << 16 | head[22] << 8 | head[23];
    EXPECT_GE(width, 640u);
    EXPECT_GE(height, 480u);
    std::filesystem::remove(path);

    error.clear();
    EXPECT_FALSE(writeContactSheet("/nonexistent-folder/sheet.png", error));
    EXPECT_NE(error.find("/nonexistent-folder/sheet.png"), std::string::npos) << error;
}
