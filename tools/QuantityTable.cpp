// Writes the engine's quantity table into the documents that list the quantities, so that a new
// quantity is one new row of the table and nothing else:
//
//   pevrand_quantity_table man IN OUT   the manual page IN with its lines "@QUANTITY_ROWS@" (a
//                                        row a quantity: names, other names, meaning) and
//                                        "@QUANTITY_LIST@" (the meanings in a sentence) filled
//                                        in, written to OUT
//   pevrand_quantity_table markdown     the table in Markdown, as docs/command-line.md holds it
#include "engine/Quantities.h"
#include "engine/QuantityNames.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace
{

using pevrand::ListedAliases;
using pevrand::QuantityRow;
using pevrand::QuantityTable;

// `text` as roff writes it: a hyphen that is a minus sign escaped, and the micro sign and the
// Angstrom sign by roff's names for them.
std::string Roff(std::string_view text)
{
    std::string roff;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-')
            roff += "\\-";
        else if (text.substr(i, 2) == "\xC2\xB5") // MICRO SIGN
            roff += "\\(mc", ++i;
        else if (text.substr(i, 2) == "\xC3\x85") // LATIN CAPITAL LETTER A WITH RING ABOVE
            roff += "\\(oA", ++i;
        else
            roff += text[i];
    }
    return roff;
}

// How many columns `text` takes: one a character of UTF-8.
std::size_t Columns(std::string_view text)
{
    std::size_t columns = 0;
    for (const char c : text)
        columns += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return columns;
}

std::string Padded(std::string_view shown, std::string_view written, std::size_t width)
{
    return std::string(written) + std::string(width > Columns(shown) ? width - Columns(shown) : 1, ' ');
}

std::string ManRows()
{
    std::string rows = "Name         Other names             Quantity\n";
    for (const QuantityRow &row : QuantityTable) {
        const std::string aliases = ListedAliases(row.Is);
        rows += Padded(row.Name, Roff(row.Name), 13) + Padded(aliases, Roff(aliases), 24) +
                Roff(row.Description) + "\n";
    }
    return rows;
}

std::string ManList()
{
    std::string list = "The quantities are ";
    for (std::size_t i = 0; i < QuantityTable.size(); ++i) {
        if (i > 0)
            list += i + 1 == QuantityTable.size() ? " and " : ", ";
        list += Roff(QuantityTable[i].Description);
    }
    return list + ".\n";
}

std::string Markdown()
{
    std::string table = "| Name | Other names | Unit | Quantity |\n|---|---|---|---|\n";
    const auto code = [](std::string &text, std::string_view name) {
        text += '`';
        text += name;
        text += '`';
    };
    for (const QuantityRow &row : QuantityTable) {
        table += "| ";
        code(table, row.Name);
        table += " | ";
        const char *separator = "";
        for (const std::string_view alias : row.Aliases) {
            if (alias.empty())
                continue;
            table += separator;
            code(table, alias);
            separator = ", ";
        }
        table += " | ";
        table += row.Symbol;
        table += " | ";
        table += row.Description;
        table += " |\n";
    }
    return table;
}

int FillManual(const char *in, const char *out)
{
    std::ifstream source(in);
    if (!source) {
        std::cerr << "pevrand_quantity_table: can't read " << in << "\n";
        return 1;
    }
    std::ostringstream filled;
    for (std::string line; std::getline(source, line);) {
        if (line == "@QUANTITY_ROWS@")
            filled << ManRows();
        else if (line == "@QUANTITY_LIST@")
            filled << ManList();
        else
            filled << line << "\n";
    }
    std::ofstream target(out, std::ios::binary);
    target << filled.str();
    if (!target.flush()) {
        std::cerr << "pevrand_quantity_table: can't write " << out << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "man" && argc == 4)
        return FillManual(argv[2], argv[3]);
    if (mode == "markdown" && argc == 2) {
        std::cout << Markdown();
        return std::cout.flush() ? 0 : 1;
    }
    std::cerr << "usage: pevrand_quantity_table man IN OUT | markdown\n";
    return 2;
}
