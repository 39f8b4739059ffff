#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "purge/backup_file_writer.h"
#include "purge/run_failure.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

void WriteBatch(const fs::path& file, bool empty, const std::string& lines, bool expectCreated) {
    BackupFileWriter writer(file.string(), empty);
    EXPECT_EQ(writer.Created(), expectCreated) << file;
    writer.Append(lines);
    writer.Finish();
}

TEST(BackupFileWriter, CreatesAppendsAndEmpties) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "BackupFile.csv";
    WriteBatch(file, false, "1,a\r\n", true);
    WriteBatch(file, false, "2,b\r\n", false);
    EXPECT_EQ(test::ReadWholeFile(file), "1,a\r\n2,b\r\n");
    WriteBatch(file, true, "3,c\r\n", false);
    EXPECT_EQ(test::ReadWholeFile(file), "3,c\r\n");
    // A fresh file emptied on its first opening is simply created.
    WriteBatch(dir.Path() / "new.csv", true, "", true);
    EXPECT_TRUE(fs::exists(dir.Path() / "new.csv"));
}

TEST(BackupFileWriter, FileThatCannotBeOpenedIsAFileAccessFailure) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "folder.csv");
    for (const fs::path& file : {dir.Path() / "folder.csv", dir.Path() / "missing" / "b.csv"}) {
        try {
            BackupFileWriter writer(file.string(), false);
            ADD_FAILURE() << "opened " << file;
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kFileAccess);
            EXPECT_NE(failure.Description().find(file.string()), std::string::npos)
                << failure.Description();
        }
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
}

// A file-size limit makes the kernel accept part of a write and refuse the
// rest, as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(BackupFileWriter, WriteRefusedHalfwayLeavesNoBrokenLine) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "BackupFile.csv";
    const std::string kept = "1,first batch\r\n";
    WriteFile(file, kept);
    {
        FileSizeLimit limit(kept.size() + 10);
        BackupFileWriter writer(file.string(), false);
        try {
            writer.Append("2,a line longer than the room that is left\r\n");
            ADD_FAILURE() << "the write beyond the limit succeeded";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kFileAccess);
        }
    }
    EXPECT_EQ(test::ReadWholeFile(file), kept);
    // The next opening's lines follow a whole line.
    WriteBatch(file, false, "3,c\r\n", false);
    EXPECT_EQ(test::ReadWholeFile(file), kept + "3,c\r\n");
}

TEST(BackupFileWriter, SpecialFilesWithoutStorageAreAccepted) {
    BackupFileWriter writer("/dev/null", false);
    EXPECT_FALSE(writer.Created());
    writer.Append("1,a\r\n");
    EXPECT_NO_THROW(writer.Finish());
}

TEST(SyncFolderOf, FlushesTheFolderOrNamesTheFailure) {
    test::TempDir dir;
    const test::ScopedCurrentDir here(dir.Path());
    struct Case {
        std::string path;
        int expected;
    };
    const Case cases[] = {
        {"BackupFile.csv", 0},
        {(dir.Path() / "BackupFile.csv").string(), 0},
        {"/BackupFile.csv", 0},
        {"missing/BackupFile.csv", ENOENT},
    };
    for (const Case& c : cases) EXPECT_EQ(SyncFolderOf(c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace sorvane
