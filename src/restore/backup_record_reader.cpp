#include "restore/backup_record_reader.h"

#include <algorithm>

#include "common/run_failure.h"

namespace sorvane {

namespace {

bool StartsWith(const std::string& text, std::size_t at, const std::string& part) {
    return !part.empty() && text.compare(at, part.size(), part) == 0;
}

}  // namespace

BackupRecordReader::BackupRecordReader(std::istream& file, std::string separator, std::string escapeText,
                                       std::size_t readChunk)
    : file_(file), separator_(std::move(separator)), escapeText_(std::move(escapeText)),
      readChunk_(std::max<std::size_t>(1, readChunk)) {}

bool BackupRecordReader::Fill() {
    if (endOfFile_) return false;
    buffer_.erase(0, position_);
    position_ = 0;
    const std::size_t kept = buffer_.size();
    buffer_.resize(kept + readChunk_);
    file_.read(buffer_.data() + kept, static_cast<std::streamsize>(readChunk_));
    const std::size_t got = static_cast<std::size_t>(file_.gcount());
    buffer_.resize(kept + got);
    if (file_.bad()) throw RunFailure(kInvalidArgument, "The backup file cannot be read");
    if (!file_) endOfFile_ = true;
    return got > 0;
}

// One row from position_. NeedMore when the buffer ends before the row does
// and the file may hold the rest: the caller reads more and starts again.
BackupRecordReader::Parse BackupRecordReader::ParseRecord(BackupRecord& record, std::size_t& end) const {
    record.fields.clear();
    record.line = line_;
    std::size_t at = position_;
    const std::size_t size = buffer_.size();
    const auto rowEnd = [&](std::size_t index) -> std::size_t {  // length of the line end at index, or 0
        if (index < size && buffer_[index] == '\n') return 1;
        if (index + 1 < size && buffer_[index] == '\r' && buffer_[index + 1] == '\n') return 2;
        return 0;
    };
    // Too near the buffer's end to tell a line end, a separator or an
    // escape text from the start of one, while the file goes on.
    const std::size_t lookahead = escapeText_.size() + std::max(separator_.size(), std::size_t{2}) + 1;
    const auto undecided = [&](std::size_t index) { return !endOfFile_ && index + lookahead > size; };
    for (;;) {
        std::string field;
        if (StartsWith(buffer_, at, escapeText_)) {
            std::size_t index = at + escapeText_.size();
            for (;;) {
                if (undecided(index)) return Parse::NeedMore;
                if (index >= size) {
                    throw RunFailure(kInvalidArgument, "Line " + std::to_string(line_) +
                                                           " of the backup file: an enclosed field is not closed "
                                                           "before the file ends (wrong -esc?)");
                }
                if (StartsWith(buffer_, index, escapeText_)) {
                    const std::size_t after = index + escapeText_.size();
                    if (after < size && buffer_[after] == '"') {
                        field += '"';
                        index = after + 1;
                        continue;
                    }
                    if (after >= size || rowEnd(after) > 0 || StartsWith(buffer_, after, separator_)) {
                        at = after;
                        break;
                    }
                }
                field += buffer_[index++];
            }
        } else {
            std::size_t index = at;
            for (;;) {
                if (undecided(index)) return Parse::NeedMore;
                if (index >= size || rowEnd(index) > 0 || StartsWith(buffer_, index, separator_)) break;
                ++index;
            }
            field.assign(buffer_, at, index - at);
            at = index;
        }
        record.fields.push_back(std::move(field));
        if (StartsWith(buffer_, at, separator_)) {
            at += separator_.size();
            continue;
        }
        at += rowEnd(at);  // or the file's last line, without a line end
        end = at;
        return Parse::Complete;
    }
}

bool BackupRecordReader::Next(BackupRecord& record) {
    for (;;) {
        if (position_ >= buffer_.size() && !Fill()) return false;
        std::size_t end = 0;
        if (ParseRecord(record, end) == Parse::Complete) {
            for (std::size_t index = position_; index < end; ++index) {
                if (buffer_[index] == '\n') ++line_;
            }
            position_ = end;
            record.row = ++row_;
            return true;
        }
        if (!Fill()) endOfFile_ = true;
    }
}

}  // namespace sorvane
