#include "tagdll/access/query_from_clause.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/ascii.h"
#include "tagdll/access/sql_names.h"

namespace quellor::tagdll::access {
namespace {

// A source (its text and the name joins use for it) or a join of two nodes.
struct FromNode {
  std::string text;
  std::string key;
  int left = -1;
  int right = -1;
  int kind = 0;
  std::vector<std::string> conditions;  // in the order Access writes them
};

class FromTree {
 public:
  int AddSource(std::string text, std::string key) {
    FromNode node;
    node.text = std::move(text);
    node.key = std::move(key);
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }
  int AddJoin(int left, int right, int kind, std::string condition) {
    FromNode node;
    node.left = left;
    node.right = right;
    node.kind = kind;
    node.conditions.push_back(std::move(condition));
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }
  FromNode& at(int node) { return nodes_[node]; }

  bool Contains(int node, const std::string& key) const {
    const FromNode& n = nodes_[node];
    if (n.left < 0) return EqualsIgnoreCase(n.key, key);
    return Contains(n.left, key) || Contains(n.right, key);
  }

  void Write(int node, bool top, std::string& out) const {
    const FromNode& n = nodes_[node];
    if (n.left < 0) {
      out += n.text;
      return;
    }
    static constexpr const char* kJoinWords[] = {"", " INNER JOIN ", " LEFT JOIN ", " RIGHT JOIN "};
    if (!top) out += '(';
    Write(n.left, false, out);
    out += kJoinWords[n.kind];
    Write(n.right, false, out);
    out += " ON ";
    if (n.conditions.size() > 1) out += '(';
    for (std::size_t i = 0; i < n.conditions.size(); ++i) {
      if (i > 0) out += ") AND (";
      out += n.conditions[i];
    }
    if (n.conditions.size() > 1) out += ')';
    if (!top) out += ')';
  }

 private:
  std::vector<FromNode> nodes_;
};

// A source as Access writes it: a table or query with its alias, or a subquery.
std::string SourceText(const QueryRow& row) {
  std::string text;
  if (row.expression && !row.name1) {
    text = "(" + *row.expression + ")";
  } else {
    if (row.expression) text = BracketedName(*row.expression) + ".";
    text += QuotedName(row.name1.value_or(""));
  }
  if (row.name2) text += " AS " + QuotedName(*row.name2);
  return text;
}

Status Damaged(const std::string& what) { return Status::Corruption(what); }

// Far beyond what Access allows in one query; keeps the nesting of joins shallow.
constexpr std::size_t kMaxSourcesAndJoins = 255;

}  // namespace

Result<std::string> BuildFromClause(std::span<const QueryRow* const> sources,
                                    std::span<const QueryRow* const> joins) {
  if (sources.size() + joins.size() > kMaxSourcesAndJoins) {
    return Damaged("more sources and joins than Access allows");
  }
  FromTree tree;
  std::vector<int> entries;
  for (const QueryRow* row : sources) {
    entries.push_back(
        tree.AddSource(SourceText(*row), row->name2.value_or(row->name1.value_or(""))));
  }
  for (const QueryRow* join : joins) {
    const int kind = join->flag.value_or(0);
    if (kind < 1 || kind > 3) return Damaged("a join of an unknown kind");
    const std::string left_key = join->name1.value_or("");
    const std::string right_key = join->name2.value_or("");
    const std::string condition = join->expression.value_or("");
    std::optional<int> left;
    std::optional<int> right;
    for (auto it = entries.begin(); it != entries.end() && (!left || !right);) {
      if (!left && tree.Contains(*it, left_key)) {
        left = *it;
        if (!right && tree.Contains(*it, right_key)) {
          right = *it;
          break;
        }
        it = entries.erase(it);
      } else if (!right && tree.Contains(*it, right_key)) {
        right = *it;
        it = entries.erase(it);
      } else {
        ++it;
      }
    }
    if (!left || !right) {
      return Damaged("a join names " + (left ? right_key : left_key) +
                     ", which is no source of the query");
    }
    if (*left == *right) {
      FromNode& existing = tree.at(*left);
      if (existing.left < 0 || existing.kind != kind)
        return Damaged("two joins of one pair differ in kind");
      // Access writes the condition of the later row first.
      existing.conditions.insert(existing.conditions.begin(), condition);
      continue;
    }
    entries.push_back(tree.AddJoin(*left, *right, kind, condition));
  }
  std::string clause;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) clause += ", ";
    tree.Write(entries[i], true, clause);
  }
  return clause;
}

}  // namespace quellor::tagdll::access
