// What a dry run says of the backup file, told from the file system alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "purge/backup_file_fate.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;

TEST(BackupFileFate, FollowsWhatTheRunsFirstBatchWouldDo) {
    test::TempDir folder;
    const fs::path file = folder.Path() / "B.csv", marked = folder.Path() / "M.csv";
    std::ofstream(file) << "row\r\n";
    std::ofstream(marked) << "row\r\n";
    std::ofstream(folder.Path() / "M.csv.unfinished");
    fs::create_symlink(file, folder.Path() / "L.csv");
    const std::tuple<fs::path, bool, BackupFileFate> cases[] = {
        {folder.Path() / "New.csv", true, BackupFileFate::Created},
        {folder.Path() / "no" / "B.csv", false, BackupFileFate::FolderMissing},
        {file, false, BackupFileFate::AppendedTo},
        {file, true, BackupFileFate::Emptied},
        {marked, true, BackupFileFate::AppendedToUnfinished},
        {marked, false, BackupFileFate::AppendedTo},
        {folder.Path() / "L.csv", false, BackupFileFate::Refused},
    };
    for (const auto& [path, overwrite, fate] : cases) {
        SCOPED_TRACE(path.filename().string() + (overwrite ? " overwrite" : ""));
        EXPECT_EQ(FateOfBackupFile(path.string(), overwrite), fate);
    }
}

}  // namespace
}  // namespace sorvane
