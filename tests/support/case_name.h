// Readable names for table-driven tests: each case's description, with letters and
// digits kept and everything else turned into "_".
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace quilla {

template <typename Case>
std::string case_name(const ::testing::TestParamInfo<Case>& param) {
    std::string name;
    for (char ch : std::string_view(param.param.what)) {
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
}

}  // namespace quilla
