#pragma once
// The teeth checks: the one validation of a gear before it is computed.

#include <cstdint>
#include <string>
#include <vector>

struct TeethCheckResult {
    std::vector<std::string> lines;   // the message list, top to bottom
    int result;                       // 0 clean, 1 warnings only, 2 an error: do not compute
};

TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2);

// The maker's home page, opened by the "GO　ＨＰ" button and named in the credit lines.
const char* HomePageAddress();
