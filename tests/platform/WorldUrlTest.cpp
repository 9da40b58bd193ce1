#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/WorldClient.h"
#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;

// What the game asks and what it refuses: a trailing slash goes, a folder stays, and anything
// that could send the request elsewhere or carry more than an address is refused.
TEST(WorldUrl, AddressesTheGameAsksAndThoseItRefuses) {
    const struct {
        const char* text;
        const char* url;  // null: refused
    } cases[] = {
        {"http://127.0.0.1:8080/", "http://127.0.0.1:8080"},
        {"https://scores.example.org/bolt/fever//", "https://scores.example.org/bolt/fever"},
        {"http://[::1]:65535", "http://[::1]:65535"},
        {"http://a", "http://a"},
        {"ftp://scores.example.org", nullptr},
        {"scores.example.org", nullptr},
        {"http://", nullptr},
        {"http://[]:80", nullptr},
        {"http://[::1", nullptr},
        {"http://host:0", nullptr},
        {"http://host:65536", nullptr},
        {"http://host:99999999999", nullptr},
        {"http://host:", nullptr},
        {"http://user@host", nullptr},
        {"http://host/?period=day", nullptr},
        {"http://host/a b", nullptr},
        {"http://host#top", nullptr},
    };
    for (const auto& c : cases) {
        std::string url = "unchanged", error;
        EXPECT_EQ(parseWorldUrl(c.text, url, error), c.url != nullptr) << c.text << ": " << error;
        if (c.url) {
            EXPECT_EQ(url, c.url) << c.text;
        } else {
            EXPECT_NE(error.find(c.text), std::string::npos) << error;
        }
    }
    std::string url, error;
    EXPECT_FALSE(parseWorldUrl("http://" + std::string(200, 'a'), url, error));
}

// The address kept beside the settings: none without the file; a file that is not an address
// is said, with its name, and names no table.
TEST(WorldUrl, AKeptAddressThatIsNotOneNamesNoTable) {
    const fs::path dir = freshTestDir("world-url");
    const std::string path = (dir / kWorldFileName).string();
    std::string url = "old", error;
    loadWorldUrl(path, url, error);
    EXPECT_EQ(url, "");
    EXPECT_EQ(error, "");
    for (const auto& [text, kept] : {std::pair{"https://h:1/x/\r\n", "https://h:1/x"},
                                     {"http://h\nhttp://g\n", ""},
                                     {"\n", ""}}) {
        writeText(path, text);
        error.clear();
        loadWorldUrl(path, url, error);
        EXPECT_EQ(url, kept) << text;
        EXPECT_EQ(error.empty(), *kept != '\0') << error;
        EXPECT_EQ(error.empty() ? 0 : error.find(path), 0u) << error;
    }
}

}  // namespace
