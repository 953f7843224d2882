#include "unifieddiff.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

struct Op {
    char kind;  // ' ', '-' or '+'
    std::string_view line;
};

// Myers' shortest edit script of a against b. Beyond kMaxEdits differences the rest is given as
// all of a removed and all of b added, which is still a correct diff.
constexpr int kMaxEdits = 4000;

std::vector<Op> EditScript(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    std::vector<std::vector<int>> trace;  // trace[d][k + d]: furthest x on diagonal k after d edits
    int found = -1;
    for (int d = 0; d <= std::min(n + m, kMaxEdits) && found < 0; ++d) {
        std::vector<int> v(2 * d + 1);
        const std::vector<int>* prev = d > 0 ? &trace.back() : nullptr;
        auto prevAt = [&](int k) { return (*prev)[k + d - 1]; };
        for (int k = -d; k <= d; k += 2) {
            int x;
            if (d == 0) x = 0;
            else if (k == -d || (k != d && prevAt(k - 1) < prevAt(k + 1))) x = prevAt(k + 1);
            else x = prevAt(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) ++x, ++y;
            v[k + d] = x;
            if (x >= n && y >= m) found = d;
        }
        trace.push_back(std::move(v));
    }
    std::vector<Op> ops;
    if (found < 0) {
        for (auto l : a) ops.push_back({'-', l});
        for (auto l : b) ops.push_back({'+', l});
        return ops;
    }
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& prev = trace[d - 1];
        const int k = x - y;
        auto prevAt = [&](int kk) { return prev[kk + d - 1]; };
        const int prevK = (k == -d || (k != d && prevAt(k - 1) < prevAt(k + 1))) ? k + 1 : k - 1;
        const int prevX = prevAt(prevK), prevY = prevX - prevK;
        while (x > prevX && y > prevY) ops.push_back({' ', a[--x]}), --y;
        if (x == prevX) ops.push_back({'+', b[--y]});
        else ops.push_back({'-', a[--x]});
    }
    while (x > 0) ops.push_back({' ', a[--x]}), --y;
    std::reverse(ops.begin(), ops.end());
    return ops;
}

void Put(std::string& out, char kind, std::string_view line) {
    out += kind;
    out += line;
    if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    const std::size_t first = count == 0 ? start : start + 1;
    return std::to_string(first) + (count == 1 ? "" : "," + std::to_string(count));
}

}  // namespace

std::string UnifiedDiff(const std::string& name, std::string_view before, std::string_view after) {
    if (before == after) return {};
    const auto a = Lines(before), b = Lines(after);
    std::size_t pre = 0, suf = 0;
    while (pre < a.size() && pre < b.size() && a[pre] == b[pre]) ++pre;
    while (suf < a.size() - pre && suf < b.size() - pre && a[a.size() - 1 - suf] == b[b.size() - 1 - suf]) ++suf;

    std::vector<Op> ops;
    for (std::size_t i = 0; i < pre; ++i) ops.push_back({' ', a[i]});
    const auto middle = EditScript({a.begin() + pre, a.end() - suf}, {b.begin() + pre, b.end() - suf});
    ops.insert(ops.end(), middle.begin(), middle.end());
    for (std::size_t i = a.size() - suf; i < a.size(); ++i) ops.push_back({' ', a[i]});

    constexpr std::size_t kContext = 3;
    std::string out = "--- " + name + "\n+++ " + name + "\n";
    std::size_t i = 0;
    std::size_t lineA = 0, lineB = 0;  // lines of a and b before ops[i]
    while (i < ops.size()) {
        // The next change, and the hunk around it: changes less than two contexts apart join.
        std::size_t change = i;
        std::size_t skipA = 0, skipB = 0;
        while (change < ops.size() && ops[change].kind == ' ') ++change;
        if (change == ops.size()) break;
        const std::size_t start = change > i + kContext ? change - kContext : i;
        for (std::size_t j = i; j < start; ++j) ++skipA, ++skipB;
        lineA += skipA;
        lineB += skipB;
        std::size_t end = change, equalRun = 0;
        for (std::size_t j = change; j < ops.size(); ++j) {
            if (ops[j].kind != ' ') {
                equalRun = 0;
                end = j + 1;
            } else if (++equalRun > 2 * kContext) {
                break;
            }
        }
        end = std::min(ops.size(), end + kContext);
        std::size_t countA = 0, countB = 0;
        for (std::size_t j = start; j < end; ++j) {
            if (ops[j].kind != '+') ++countA;
            if (ops[j].kind != '-') ++countB;
        }
        out += "@@ -" + Range(lineA, countA) + " +" + Range(lineB, countB) + " @@\n";
        for (std::size_t j = start; j < end; ++j) Put(out, ops[j].kind, ops[j].line);
        lineA += countA;
        lineB += countB;
        i = end;
    }
    return out;
}
