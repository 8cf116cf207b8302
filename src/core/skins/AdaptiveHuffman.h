#pragma once

#include <array>
#include <cstdint>

// The adaptive Huffman tree of the LZHUF coder: 314 symbols (256 literal bytes
// and the match lengths 3 to 60), kept in sibling order so that the two
// children of a node are always neighbours, the first at an even index.
// Encoder and decoder update it identically after every symbol.
class AdaptiveHuffman {
public:
    static constexpr int kSymbols = 314;
    static constexpr int kNodes = 2 * kSymbols - 1;
    static constexpr int kRoot = kNodes - 1;

    AdaptiveHuffman();

    // First child of an inner node; a value of kNodes or more marks a leaf
    // holding symbol (value - kNodes).
    [[nodiscard]] int child(int node) const { return m_child[node]; }
    [[nodiscard]] int parent(int node) const { return m_parent[node]; }
    [[nodiscard]] int leafOf(int symbol) const { return m_parent[symbol + kNodes]; }

    // Counts one more occurrence of the symbol and restores the order.
    void update(int symbol);

private:
    static constexpr std::uint32_t kMaxFrequency = 0x8000;

    void rebuild();

    std::array<std::uint32_t, kNodes + 1> m_frequency {};
    std::array<std::int16_t, kNodes + kSymbols> m_parent {};
    std::array<std::int16_t, kNodes> m_child {};
};
