// Names a parameterised test's row after its `name` field, so a failure says what it proves.
#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

struct RowName {
    template <class Row> std::string operator()(const testing::TestParamInfo<Row> &row) const
    {
        return row.param.name;
    }
};

// The start of a row of a parameterised test: its name. A row that derives from it prints as
// its name in GoogleTest's messages instead of as a dump of its bytes.
struct NamedRow {
    // From the name alone, so that a row's table reads {"Name", fields...}.
    NamedRow(const char *rowName) : name(rowName) {}
    const char *name;
};

// Found through the row's base class; more constrained than GoogleTest's own printer, so it
// is the one chosen.
template <std::derived_from<NamedRow> Row> void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}
