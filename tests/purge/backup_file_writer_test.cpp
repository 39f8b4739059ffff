#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "purge/backup_file_writer.h"
#include "purge/failure_of.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;

void WriteBatch(const fs::path& file, bool empty, const std::string& lines, bool expectCreated) {
    BackupFileWriter writer(file.string(), empty);
    EXPECT_EQ(writer.Created(), expectCreated) << file;
    writer.Append(lines);
    writer.Finish();
}

// Appending and emptying across batches are shown by the purge suite's overwrite test.
TEST(BackupFileWriter, CreatesWhatIsMissingAndWritesToSpecialFiles) {
    test::TempDir dir;
    WriteBatch(dir.Path() / "new.csv", true, "", true);  // emptying a file that is not there creates it
    EXPECT_TRUE(fs::exists(dir.Path() / "new.csv"));
    WriteBatch("/dev/null", false, "1,a\r\n", false);  // a special file without storage to flush
}

TEST(BackupFileWriter, FileThatCannotBeOpenedIsAFileAccessFailureNamingIt) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "folder.csv");
    for (const fs::path& file : {dir.Path() / "folder.csv", dir.Path() / "missing" / "b.csv"}) {
        const RunFailure failure = FailureOf([&] { BackupFileWriter(file.string(), false); });
        EXPECT_EQ(failure.Number(), kFileAccess) << file;
        EXPECT_NE(failure.Description().find(file.string()), std::string::npos) << failure.Description();
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
}

// A file-size limit makes the kernel take part of a write and refuse the rest, as a full disk does.
TEST(BackupFileWriter, WriteRefusedHalfwayLeavesNoBrokenLine) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "BackupFile.csv";
    WriteBatch(file, false, "1,first batch\r\n", true);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = fs::file_size(file) + 10;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const RunFailure failure = FailureOf([&] {
        BackupFileWriter(file.string(), false).Append("2,a line longer than the room that is left\r\n");
    });
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(failure.Number(), kFileAccess);
    EXPECT_EQ(test::ReadWholeFile(file), "1,first batch\r\n");
    WriteBatch(file, false, "3,c\r\n", false);  // the next opening's lines follow a whole line
    EXPECT_EQ(test::ReadWholeFile(file), "1,first batch\r\n3,c\r\n");
}

TEST(SyncFolderOf, FlushesTheFolderOrNamesTheFailure) {
    test::TempDir dir;
    const test::ScopedCurrentDir here(dir.Path());
    const std::pair<const char*, int> cases[] = {
        {"BackupFile.csv", 0}, {"/BackupFile.csv", 0}, {"missing/BackupFile.csv", ENOENT}};
    for (const auto& [path, expected] : cases) EXPECT_EQ(SyncFolderOf(path), expected) << path;
}

}  // namespace
}  // namespace sorvane
