// The date and time parsers and the date numbers. A date or time that reads is written and
// read again to itself; a date moves by days and back to itself.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "commands/date_time_text.h"
#include "engine/date_number.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto date = ParseDateText(text)) {
        FuzzExpect(IsValidDate(*date), "a date read that does not exist", text);
        const std::string written = FormatDateText(*date);
        const auto again = ParseDateText(written);
        FuzzExpect(again.has_value() && *again == *date, "date written and read again", text,
                   written);
        FuzzExpect(CivilFromDays(DaysFromCivil(*date)) == *date, "days and back", written);
        double days = 0;
        if (size >= sizeof(double)) {
            std::memcpy(&days, data, sizeof(double));
        }
        if (const auto moved = AddDays(*date, days)) {
            FuzzExpect(IsValidDate(*moved), "a moved date that does not exist", written);
        }
        (void)DateNumber(*date);
    }
    if (const auto time = ParseTimeText(text)) {
        FuzzExpect(time->hour >= 0 && time->hour <= 23 && time->minute >= 0 && time->minute <= 59 &&
                       time->second >= 0 && time->second <= 59,
                   "a time out of range", text);
        const std::string written = FormatTimeText(*time);
        const auto again = ParseTimeText(written);
        FuzzExpect(again.has_value() && *again == *time, "time written and read again", text,
                   written);
        (void)TimeNumber(time->hour, time->minute, time->second);
    }
    if (const auto date = ReadDateNumberText(text)) {
        FuzzExpect(IsValidDate(*date), "a date number that does not exist", text);
    }
    return 0;
}
