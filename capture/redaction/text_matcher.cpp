#include "capture/redaction/text_matcher.h"

#include <algorithm>

#include "capture/redaction/case_fold.h"

namespace quillet::capture {

namespace {

bool isAscii(wchar_t c)
{
    return static_cast<unsigned long>(c) < 128;
}

// Orders keys by text, then by where they were given.
class KeyOrder
{
public:
    explicit KeyOrder(const std::vector<std::wstring>& keys) : m_keys(keys) {}
    bool operator()(size_t a, size_t b) const
    {
        int order = m_keys[a].compare(m_keys[b]);
        return order != 0 ? order < 0 : a < b;
    }

private:
    const std::vector<std::wstring>& m_keys;
};

struct Edge
{
    int from;
    wchar_t c;
    int to;
};

size_t commonPrefix(const std::wstring& a, const std::wstring& b)
{
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

}  // namespace

TextMatcher::TextMatcher(const std::vector<std::wstring>& keys, size_t shortest)
{
    buildTrie(keys, shortest);
    linkFailures();
}

int TextMatcher::newNode(size_t depth)
{
    m_depth.push_back(static_cast<uint32_t>(depth));
    m_key.push_back(kNone);
    return static_cast<int>(m_depth.size() - 1);
}

// From the keys in sorted order: each key shares its path with the one before as far as their
// common prefix goes, and every node's children come in the order of their characters.
void TextMatcher::buildTrie(const std::vector<std::wstring>& keys, size_t shortest)
{
    std::vector<std::wstring> folded(keys.size());
    std::vector<size_t> sorted;
    size_t characters = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].empty() || keys[i].size() < shortest)
            continue;
        folded[i] = foldCase(keys[i]);
        characters += keys[i].size();
        sorted.push_back(i);
    }
    std::sort(sorted.begin(), sorted.end(), KeyOrder(folded));

    m_depth.reserve(characters + 1);
    m_key.reserve(characters + 1);
    newNode(0);
    std::vector<Edge> edges;
    edges.reserve(characters);
    std::vector<int> path(1, kRoot);  // the nodes of the previous key, root first
    const std::wstring* previous = NULL;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const std::wstring& text = folded[sorted[i]];
        path.resize(previous ? commonPrefix(*previous, text) + 1 : 1);
        for (size_t depth = path.size() - 1; depth < text.size(); ++depth) {
            Edge edge = {path.back(), text[depth], newNode(depth + 1)};
            edges.push_back(edge);
            path.push_back(edge.to);
        }
        if (m_key[path.back()] == kNone)
            m_key[path.back()] = static_cast<int>(sorted[i]);
        previous = &text;
    }

    // Grouped by the node they leave, keeping their order.
    m_edgeBegin.assign(m_depth.size() + 1, 0);
    for (size_t i = 0; i < edges.size(); ++i)
        ++m_edgeBegin[edges[i].from + 1];
    for (size_t node = 0; node < m_depth.size(); ++node)
        m_edgeBegin[node + 1] += m_edgeBegin[node];
    m_edgeChar.resize(edges.size());
    m_edgeTarget.resize(edges.size());
    std::vector<uint32_t> next(m_edgeBegin.begin(), m_edgeBegin.end() - 1);
    for (size_t i = 0; i < edges.size(); ++i) {
        uint32_t slot = next[edges[i].from]++;
        m_edgeChar[slot] = edges[i].c;
        m_edgeTarget[slot] = edges[i].to;
    }

    m_rootAscii.assign(128, kNone);
    for (uint32_t i = m_edgeBegin[kRoot]; i < m_edgeBegin[kRoot + 1]; ++i)
        if (isAscii(m_edgeChar[i]))
            m_rootAscii[m_edgeChar[i]] = m_edgeTarget[i];
}

int TextMatcher::child(int node, wchar_t c) const
{
    if (node == kRoot && isAscii(c))
        return m_rootAscii[c];
    const wchar_t* begin = m_edgeChar.data() + m_edgeBegin[node];
    const wchar_t* end = m_edgeChar.data() + m_edgeBegin[node + 1];
    const wchar_t* found = std::lower_bound(begin, end, c);
    return found != end && *found == c ? m_edgeTarget[found - m_edgeChar.data()] : kNone;
}

// Breadth first, so that a node's failure target (a shallower node) is linked before the node.
void TextMatcher::linkFailures()
{
    m_failure.assign(m_depth.size(), kRoot);
    m_nextKey.assign(m_depth.size(), kNone);
    std::vector<int> pending(1, kRoot);
    for (size_t done = 0; done < pending.size(); ++done) {
        int node = pending[done];
        for (uint32_t i = m_edgeBegin[node]; i < m_edgeBegin[node + 1]; ++i) {
            int next = m_edgeTarget[i];
            int failure = kRoot;
            if (node != kRoot) {
                int candidate = m_failure[node];
                while (child(candidate, m_edgeChar[i]) == kNone && candidate != kRoot)
                    candidate = m_failure[candidate];
                int target = child(candidate, m_edgeChar[i]);
                failure = target == kNone ? kRoot : target;
            }
            m_failure[next] = failure;
            m_nextKey[next] = m_key[failure] != kNone ? failure : m_nextKey[failure];
            pending.push_back(next);
        }
    }
}

void TextMatcher::longestAtEachStart(const std::wstring& text, std::vector<Match>* matches) const
{
    matches->assign(text.size(), Match());
    int state = kRoot;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = foldCase(text[i]);
        int next = child(state, c);
        while (next == kNone && state != kRoot) {
            state = m_failure[state];
            next = child(state, c);
        }
        state = next == kNone ? kRoot : next;
        // Every key ending here: a shorter one may start where a longer one cannot be used.
        for (int hit = m_key[state] != kNone ? state : m_nextKey[state]; hit != kNone;
             hit = m_nextKey[hit]) {
            Match& at = (*matches)[i + 1 - m_depth[hit]];
            if (m_depth[hit] > at.length) {
                at.length = m_depth[hit];
                at.id = m_key[hit];
            }
        }
    }
}

}  // namespace quillet::capture
