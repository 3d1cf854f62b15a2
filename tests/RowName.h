// Names a parameterised test's row after its `name` field, so a failure says what it proves.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct RowName {
    template <class Row> std::string operator()(const testing::TestParamInfo<Row> &row) const
    {
        return row.param.name;
    }
};
