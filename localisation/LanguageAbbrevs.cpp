// The abbreviation list; its order and locales follow the language table (InitLangue.cpp).
#include "LanguageAbbrevs.h"

#include <iterator>

namespace attente {

const TLanguageAbbrev kLanguageAbbrevs[] = {
    {0x0436, "AFK"}, {0x041C, "SQI"}, {0x0401, "ARA"}, {0x042D, "EUQ"}, {0x0423, "BEL"}, {0x0402, "BGR"},
    {0x0403, "CAT"}, {0x0404, "CHT"}, {0x041A, "HRV"}, {0x0405, "CSY"}, {0x0406, "DAN"}, {0x0413, "NLD"},
    {0x0813, "NLB"}, {0x0409, "ENU"}, {0x0809, "ENG"}, {0x0425, "ETI"}, {0x0438, "FOS"}, {0x0429, "FAR"},
    {0x040B, "FIN"}, {0x040C, "FRA"}, {0x080C, "FRB"}, {0x0407, "DEU"}, {0x0408, "ELL"}, {0x040D, "HEB"},
    {0x040E, "HUN"}, {0x040F, "ISL"}, {0x0421, "IND"}, {0x0410, "ITA"}, {0x0411, "JPN"}, {0x0412, "KOR"},
    {0x0426, "LVI"}, {0x0427, "LTH"}, {0x0414, "NOR"}, {0x0415, "PLK"}, {0x0816, "PTG"}, {0x0418, "ROM"},
    {0x0419, "RUS"}, {0x041A, "HRV"}, {0x041B, "SKY"}, {0x0424, "SLV"}, {0x040A, "ESP"}, {0x041D, "SVE"},
    {0x041E, "THA"}, {0x041F, "TRK"}, {0x0422, "UKR"}, {0x042A, "VIT"},
};
const std::size_t kLanguageAbbrevCount = std::size(kLanguageAbbrevs);

bool IsTableAbbrev(const std::string& abbrev) {
    for (const TLanguageAbbrev& row : kLanguageAbbrevs)
        if (abbrev == row.Abbrev) return true;
    return false;
}

} // namespace attente
