#pragma once
// Row titles of generated names ("林子涵[88分]") and the candidate list built from them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::naming {

// full name + "[" + score + "分]"; an absent score leaves the place empty ("林子涵[分]").
std::string rowTitle(std::string_view fullName, std::optional<int> score);
// Same, added to the end of `out`.
void appendRowTitle(std::string& out, std::string_view fullName, std::optional<int> score);

struct RowTitleParts
{
    std::string fullName;  // before "["
    std::string scoreText; // after "[" without the closing "]", unit kept: "88分"
};

// Splits a row title at "["; nullopt unless the title holds exactly one "[".
std::optional<RowTitleParts> splitRowTitle(std::string_view title);

// The given name of a listed full name: what follows the surname when the name begins with it,
// else its last `fallbackLength` characters.
std::string givenNameOfRow(std::string_view fullName, std::string_view surname, int fallbackLength);

// Clipboard text of the candidate rows: "\r\n" before every row, nothing after the last;
// empty for no rows (the caller then leaves the clipboard alone).
std::string copyText(const std::vector<std::string>& titles);

// Candidate rows in the order they were added; the same name may appear more than once.
class CandidateList
{
  public:
    void append(std::string title) { m_rows.push_back(std::move(title)); }
    void clear() { m_rows.clear(); }
    const std::vector<std::string>& rows() const { return m_rows; }
    std::string copyText() const { return naming::copyText(m_rows); }

  private:
    std::vector<std::string> m_rows;
};

} // namespace hmf::naming
