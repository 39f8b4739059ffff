#pragma once
// The rows of a backup file read back field by field, with the separator and
// escape text the backup was written with: a field that starts with the
// escape text is enclosed and runs to the escape text that is followed by the
// separator or the end of the line; inside it, the escape text before a '"'
// stands for nothing, and separators and line breaks belong to the field. A
// row ends with CR LF (or a lone LF) outside an enclosed field.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace sorvane {

struct BackupRecord {
    std::vector<std::string> fields;
    std::int64_t line = 0;  // the file's line where the row starts, from 1
    std::int64_t row = 0;   // the row's number in the file, from 1
};

class BackupRecordReader {
public:
    // `file` must outlive the reader. An empty escape text means fields are
    // never enclosed. The file is read `readChunk` bytes at a time.
    BackupRecordReader(std::istream& file, std::string separator, std::string escapeText,
                       std::size_t readChunk = std::size_t{1} << 20);

    // The next row; false at the end of the file. Raises RunFailure for an
    // enclosed field that the file ends inside, or a read error.
    bool Next(BackupRecord& record);

private:
    enum class Parse { Complete, NeedMore };

    Parse ParseRecord(BackupRecord& record, std::size_t& end) const;
    bool Fill();

    std::istream& file_;
    std::string separator_, escapeText_;
    std::size_t readChunk_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool endOfFile_ = false;
    std::int64_t line_ = 1;
    std::int64_t row_ = 0;
};

}  // namespace sorvane
