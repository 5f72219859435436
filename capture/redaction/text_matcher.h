// Finds every known identifier in a text in one pass, whatever its case: an Aho-Corasick automaton
// over the case-folded keys. Redaction time then grows with the size of the capture, not with the
// number of identifiers times the size of every string.
#ifndef QUILLET_CAPTURE_REDACTION_TEXT_MATCHER_H
#define QUILLET_CAPTURE_REDACTION_TEXT_MATCHER_H

#include <stdint.h>

#include <string>
#include <vector>

namespace quillet::capture {

class TextMatcher
{
public:
    struct Match
    {
        size_t length;  // 0: no key starts here
        int id;
        Match() : length(0), id(-1) {}
    };

    // A key's id is its index. Of keys that differ in case only, the first is found; keys shorter
    // than `shortest` (or empty) are left out.
    TextMatcher(const std::vector<std::wstring>& keys, size_t shortest);

    // For each position of the text, the longest key that starts there.
    void longestAtEachStart(const std::wstring& text, std::vector<Match>* matches) const;

private:
    enum
    {
        kRoot = 0,
        kNone = -1
    };

    void buildTrie(const std::vector<std::wstring>& keys, size_t shortest);
    int newNode(size_t depth);
    int child(int node, wchar_t c) const;
    void linkFailures();

    // Each node's edges, sorted by character: m_edgeBegin[node] to m_edgeBegin[node + 1].
    std::vector<uint32_t> m_edgeBegin;
    std::vector<wchar_t> m_edgeChar;
    std::vector<int> m_edgeTarget;
    std::vector<int>
        m_rootAscii;  // the root's edges for ASCII, looked up at almost every character

    std::vector<uint32_t> m_depth;
    std::vector<int> m_key;      // id of the key ending at the node, or kNone
    std::vector<int> m_failure;  // the node of the longest proper suffix in the trie
    std::vector<int> m_nextKey;  // the nearest node on the failure chain where a key ends, or kNone
};

}  // namespace quillet::capture

#endif
