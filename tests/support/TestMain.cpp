// The suite's entry point. Every test runs in a folder of its own under the build folder, which
// is its HOME, its data folder and its working folder: nothing a player keeps in the real home
// (settings, keys, scores) or in the folder the suite was started from can change a result, and
// no test writes there. A passing test's folder is removed; a failing one's stays for a look.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class CTestHomes : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        // The process number keeps apart a test run twice at once (ctest -j and a run of the
        // suite inside the suite).
        const std::string name = std::string(test.test_suite_name()) + "." + test.name() + "." +
                                 std::to_string(::getpid());
        folder_ = fs::path(BOLTFEVER_BINARY_DIR) / "test-homes" / name;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::current_path(folder_);
        ::setenv("HOME", folder_.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder_ / ".local" / "share").c_str(), 1);
    }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        fs::current_path(BOLTFEVER_BINARY_DIR);
        if (test.result()->Passed()) fs::remove_all(folder_);
    }

private:
    fs::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new CTestHomes);
    return RUN_ALL_TESTS();
}
