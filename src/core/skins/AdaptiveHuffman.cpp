#include "core/skins/AdaptiveHuffman.h"

#include <algorithm>

AdaptiveHuffman::AdaptiveHuffman()
{
    for (int i = 0; i < kSymbols; ++i) {
        m_frequency[i] = 1;
        m_child[i] = std::int16_t(i + kNodes);
        m_parent[i + kNodes] = std::int16_t(i);
    }
    for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
        m_frequency[j] = m_frequency[i] + m_frequency[i + 1];
        m_child[j] = std::int16_t(i);
        m_parent[i] = m_parent[i + 1] = std::int16_t(j);
    }
    // A sentinel above every real count ends the search for a swap partner.
    m_frequency[kNodes] = 0xFFFF;
    m_parent[kRoot] = 0;
}

// Halves every leaf count and builds the tree again from the leaves, so that
// the counts never overflow and old statistics fade.
void AdaptiveHuffman::rebuild()
{
    int leaves = 0;
    for (int i = 0; i < kNodes; ++i) {
        if (m_child[i] >= kNodes) {
            m_frequency[leaves] = (m_frequency[i] + 1) / 2;
            m_child[leaves] = m_child[i];
            ++leaves;
        }
    }
    for (int i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
        const std::uint32_t sum = m_frequency[i] + m_frequency[i + 1];
        int at = j - 1;
        while (sum < m_frequency[at])
            --at;
        ++at;
        std::copy_backward(m_frequency.begin() + at, m_frequency.begin() + j, m_frequency.begin() + j + 1);
        m_frequency[at] = sum;
        std::copy_backward(m_child.begin() + at, m_child.begin() + j, m_child.begin() + j + 1);
        m_child[at] = std::int16_t(i);
    }
    for (int i = 0; i < kNodes; ++i) {
        const int first = m_child[i];
        if (first >= kNodes)
            m_parent[first] = std::int16_t(i);
        else
            m_parent[first] = m_parent[first + 1] = std::int16_t(i);
    }
}

void AdaptiveHuffman::update(int symbol)
{
    if (m_frequency[kRoot] == kMaxFrequency)
        rebuild();
    int node = m_parent[symbol + kNodes];
    do {
        const std::uint32_t count = ++m_frequency[node];
        int other = node + 1;
        if (count > m_frequency[other]) {
            // Move the node past every node of a smaller count, swapping
            // subtrees with the last of them. The counts above the node are
            // in order: a few steps, then bisection for long runs of equals.
            ++other;
            for (int step = 0; step < 4 && count > m_frequency[other]; ++step)
                ++other;
            if (count > m_frequency[other])
                other = int(
                    std::lower_bound(m_frequency.begin() + other, m_frequency.end(), count) - m_frequency.begin());
            --other;
            m_frequency[node] = m_frequency[other];
            m_frequency[other] = count;

            const int mine = m_child[node];
            m_parent[mine] = std::int16_t(other);
            if (mine < kNodes)
                m_parent[mine + 1] = std::int16_t(other);

            const int theirs = m_child[other];
            m_child[other] = std::int16_t(mine);
            m_parent[theirs] = std::int16_t(node);
            if (theirs < kNodes)
                m_parent[theirs + 1] = std::int16_t(node);
            m_child[node] = std::int16_t(theirs);

            node = other;
        }
        node = m_parent[node];
    } while (node != 0);
}
