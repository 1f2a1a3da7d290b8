#include "ringing/collection_method_line.h"

#include <algorithm>

namespace clangor {

namespace {

// Where the calls of a lead go: the changes a call replaces (first, count)
// at each marked section, and the calls' changes for one section.
struct CallPlan {
  std::vector<std::size_t> sections;  // first change of each marked section
  std::size_t length = 1;             // changes in each section
  std::vector<Change> bob, single;    // empty when the group has none
};

// The whole change of places counted from 1; only places that make a change
// at `stage` are asked for.
Change Places(std::initializer_list<int> placesFrom1, int stage) {
  std::vector<int> places;
  for (const int place : placesFrom1) places.push_back(place - 1);
  std::string error;
  return WholeChange(std::move(places), stage, &error);
}

// The row after the lead from rounds.
std::vector<int> LeadHead(const std::vector<Change>& lead, int stage) {
  std::vector<int> row(static_cast<std::size_t>(stage));
  for (int i = 0; i < stage; ++i) row[static_cast<std::size_t>(i)] = i;
  for (const Change& change : lead) {
    for (int p = 0; p < stage;) {
      if (std::find(change.begin(), change.end(), p) != change.end() || p + 1 >= stage) {
        ++p;
      } else {
        std::swap(row[static_cast<std::size_t>(p)], row[static_cast<std::size_t>(p + 1)]);
        p += 2;
      }
    }
  }
  return row;
}

bool HasHuntBell(const std::vector<Change>& lead, int stage) {
  const std::vector<int> head = LeadHead(lead, stage);
  for (int i = 0; i < stage; ++i)
    if (head[static_cast<std::size_t>(i)] == i) return true;
  return false;
}

// A lead that turns about its half-lead change and ends with one more change.
bool TurnsAboutHalfLead(const std::vector<Change>& lead) {
  const std::size_t n = lead.size();
  if (n < 2 || n % 2 != 0) return false;
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (lead[i] != lead[n - 2 - i]) return false;
  return true;
}

// Bob and Single at a lead end made by one change: fourths place bobs and
// 1234 singles, for seconds place methods and for methods whose lead end
// makes the last place on an even stage; on six these single with 1456.
void LeadEndCalls(const Change& leadEnd, int stage, CallPlan& plan) {
  const int n = stage;
  if (leadEnd == Places({1, 2}, n) && n >= 4) {
    plan.bob = {Places({1, 4}, n)};
    plan.single = {n == 5 ? Places({1, 2, 3}, n) : Places({1, 2, 3, 4}, n)};
  } else if (n % 2 == 0 && n >= 6 && leadEnd == Places({1, n}, n)) {
    plan.bob = {Places({1, 4}, n)};
    plan.single = {n == 6 ? Places({1, 4, 5, 6}, n) : Places({1, 2, 3, 4}, n)};
  }
}

CallPlan PlanCalls(const std::vector<Change>& lead, int stage) {
  CallPlan plan;
  const std::size_t n = lead.size();
  const int top = stage;
  // Grandsire's lead ends "n.1": bob and single replace both changes.
  if (stage % 2 != 0 && n >= 3 && lead[n - 2] == Places({top}, stage) && lead[n - 1] == Places({1}, stage)) {
    plan.sections = {n - 2};
    plan.length = 2;
    plan.bob = {Places({3}, stage), Places({1}, stage)};
    plan.single = {Places({3}, stage), Places({1, 2, 3}, stage)};
    return plan;
  }
  // Stedman's sixes end with the change that makes only the last place: a
  // bob makes the third from the back instead, a single the three back places.
  if (stage % 2 != 0 && stage >= 5 && !HasHuntBell(lead, stage)) {
    for (std::size_t i = 0; i < n; ++i)
      if (lead[i] == Places({top}, stage)) plan.sections.push_back(i);
    if (!plan.sections.empty()) {
      if (stage > 5) plan.bob = {Places({top - 2}, stage)};
      plan.single = {Places({top - 2, top - 1, top}, stage)};
      return plan;
    }
  }
  plan.sections = {n - 1};
  LeadEndCalls(lead.back(), stage, plan);
  return plan;
}

bool IsMarker(char c) { return c == '|'; }

// Appends a token ("-", places, or a marker) with "." between two place
// changes, as the library writes lines.
void Append(std::string& line, const std::string& token) {
  if (!line.empty() && line.back() != '-' && !IsMarker(line.back()) && token != "-" && !IsMarker(token.front()))
    line.push_back('.');
  line += token;
}

std::string ChangesText(const std::vector<Change>& changes) {
  std::string text;
  for (const Change& change : changes) Append(text, ChangeText(change));
  return text;
}

std::string CallsArea(const CallPlan& plan) {
  std::string area;
  if (!plan.bob.empty()) area += "|" + ChangesText(plan.bob);
  // A lone Single is named: an unnamed segment alone would be read as the Bob.
  if (!plan.single.empty()) area += (plan.bob.empty() ? "|Single:s:" : "|") + ChangesText(plan.single);
  return area.empty() ? area : "," + area;
}

}  // namespace

std::string CollectionMethodLine(const std::vector<Change>& lead, int stage, bool withCalls) {
  const CallPlan plan = PlanCalls(lead, stage);
  std::string line;
  if (plan.length == 1 && plan.sections == std::vector<std::size_t>{lead.size() - 1} && TurnsAboutHalfLead(lead)) {
    line = "|" + ChangeText(lead.back()) + "|&" +
           ChangesText(std::vector<Change>(lead.begin(), lead.begin() + static_cast<long>(lead.size() / 2)));
  } else {
    std::size_t next = 0;
    for (std::size_t i = 0; i < lead.size(); ++i) {
      const bool opens = next < plan.sections.size() && plan.sections[next] == i;
      if (opens) Append(line, "|");
      Append(line, ChangeText(lead[i]));
      if (next < plan.sections.size() && i == plan.sections[next] + plan.length - 1) {
        Append(line, "|");
        ++next;
      }
    }
  }
  if (withCalls) line += CallsArea(plan);
  return line;
}

}  // namespace clangor
