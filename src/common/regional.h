#pragma once
// The system's regional settings as the program uses them: number reading and
// writing with the locale's decimal separator, and the general date form
// (short date, blank, long time; the time left out at midnight). A locale
// whose short date has a two-digit year falls back to ISO 8601 so that no
// backup or log line loses the century.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace sorvane {

// strftime formats of the short date and the long time.
std::string ShortDateFormat();
std::string LongTimeFormat();

// The long time; secondFraction (digits, or nothing) follows the seconds
// after the locale's decimal separator.
std::string LongTimeText(const std::tm& localTime, const std::string& secondFraction = {});
// Short date, and " " + long time unless the time is exactly midnight.
std::string FormatGeneralDate(const std::tm& localTime, const std::string& secondFraction = {});
// The same for the current local date and time.
std::string FormatGeneralDateNow();

// The short date and long time forms of the locale as it is when made, read
// once for writing many values (a backup writes one or two a row); the text
// is that of FormatGeneralDate and LongTimeText, which use it.
class DateTimeForms {
public:
    DateTimeForms();
    void AppendGeneralDate(std::string& text, const std::tm& localTime,
                           std::string_view secondFraction = {}) const;
    void AppendLongTime(std::string& text, const std::tm& localTime,
                        std::string_view secondFraction = {}) const;

private:
    std::string shortDate_;
    std::string longTime_;
    // The long time with %T and %r spelt out, cut after its seconds (the
    // whole of it when it shows none), for a time with a fraction.
    std::string upToSeconds_;
    std::string afterSeconds_;
    std::string decimalSeparator_;
};

// A date, time or both as read back from text.
struct DateTimeReading {
    std::tm time{};         // year, month, day, hour, minute, second; the rest unset
    std::string fraction;   // digits of the second's fraction, or nothing
};

// The whole text as a date in the general date form (short date, or short
// date, one blank and long time with an optional fraction after the
// seconds, as FormatGeneralDate writes them), or in ISO 8601
// ("2026-11-08", "2026-11-08 10:05:09.25", 'T' for the blank). Date only
// means midnight. The fraction follows the locale's decimal separator or a
// point. Nothing when it is no valid date.
std::optional<DateTimeReading> ReadGeneralDate(const std::string& text);
// The whole text as a time of day in the long time form or as HH:MM:SS,
// each with an optional fraction.
std::optional<DateTimeReading> ReadLongTime(const std::string& text);

// The whole text as one number: blanks around it, a sign, the locale's
// decimal separator and an exponent are allowed. Empty text is no number.
std::optional<double> ReadNumber(const std::string& text);

// A number in its ordinary text form with the locale's decimal separator
// (no grouping, no exponent for ordinary magnitudes, no trailing zeros).
std::string FormatNumber(double value);

}  // namespace sorvane
