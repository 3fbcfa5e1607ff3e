// Writes the table of irregular English forms (lookup/IrregularForms.h) as a C++ source, from
// WordNet's exception lists. Run by the build; it fails, saying which, when a list is missing.
//
//   qb_irregular_forms_generator WORDNET_DIR OUTPUT.cpp
//
// WORDNET_DIR holds noun.exc, verb.exc, adj.exc and adv.exc: lines "form base [base ...]",
// lower case, "_" for a space.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kLongestShared = 'z' - '0';  // the shared beginning is written as one character

std::string spaced(std::string word) {
    std::replace(word.begin(), word.end(), '_', ' ');
    return word;
}

// Reads one list into `bases`, after the bases earlier lists gave. False when unreadable.
bool readList(const std::string& path, std::map<std::string, std::vector<std::string>>& bases) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string form, base;
        if (!(fields >> form)) continue;
        form = spaced(form);
        std::vector<std::string>& known = bases[form];
        while (fields >> base) {
            base = spaced(base);
            // The form itself is tried before any base form.
            if (base != form && std::find(known.begin(), known.end(), base) == known.end())
                known.push_back(base);
        }
        if (known.empty()) bases.erase(form);
    }
    return !in.bad();
}

std::string encodedBase(const std::string& form, const std::string& base) {
    size_t shared = 0;
    const size_t most = std::min({form.size(), base.size(), size_t{kLongestShared}});
    while (shared < most && form[shared] == base[shared]) ++shared;
    return static_cast<char>('0' + shared) + base.substr(shared);
}

// A C++ string literal, in pieces of whole records.
void writeLiteral(std::ostream& out, const std::string& table) {
    size_t start = 0;
    while (start < table.size()) {
        size_t end = table.find('\n', std::min(table.size() - 1, start + 80));
        end = end == std::string::npos ? table.size() : end + 1;
        out << "    \"";
        for (size_t i = start; i < end; ++i) {
            const char c = table[i];
            if (c == '\n')
                out << "\\n";
            else if (c == '\t')
                out << "\\t";
            else if (c == '"' || c == '\\')
                out << '\\' << c;
            else
                out << c;
        }
        out << "\"\n";
        start = end;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " WORDNET_DIR OUTPUT.cpp\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::map<std::string, std::vector<std::string>> bases;
    for (const char* list : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"}) {
        const std::string path = folder + "/" + list;
        if (!readList(path, bases)) {
            std::cerr << argv[0] << ": cannot read WordNet's exception list " << path
                      << " (Debian's wordnet-base package; scripts/install-deps.sh installs it)\n";
            return 1;
        }
    }
    if (bases.empty()) {
        std::cerr << argv[0] << ": WordNet's exception lists in " << folder << " are empty\n";
        return 1;
    }
    std::string table;
    for (const auto& [form, known] : bases) {
        table += form;
        for (const std::string& base : known) table += '\t' + encodedBase(form, base);
        table += '\n';
    }
    std::ofstream out(argv[2]);
    out << "// Written by qb_irregular_forms_generator from WordNet 3.0's exception lists.\n"
           "// WordNet 3.0 Copyright 2006 by Princeton University. All rights reserved.\n"
           "// (licence: packaging/copyright)\n"
           "#include \"lookup/IrregularForms.h\"\n\n"
           "namespace qb {\n\n"
           "// "
        << bases.size()
        << " forms.\n"
           "static constexpr char kTable[] =\n";
    writeLiteral(out, table);
    out << "    ;\n\nconst std::string_view kIrregularForms(kTable, sizeof kTable - 1);\n\n"
           "}  // namespace qb\n";
    out.close();
    if (!out) {
        std::cerr << argv[0] << ": cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
