// Test fixture: writes .lng files (canonical prefix codes, MSB first) from a
// text, with code lengths from a Huffman tree or given by the test.
#ifndef TESTS_SHELL_LNG_ENCODER_H
#define TESTS_SHELL_LNG_ENCODER_H

#include <algorithm>
#include <array>
#include <queue>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;
using CodeLengths = std::array<int, 256>;  // 0: symbol not coded

inline CodeLengths HuffmanLengths(const std::string& text)
{
    std::array<unsigned long, 256> freq{};
    for (unsigned char c : text) freq[c]++;
    struct Node {
        unsigned long weight;
        int left, right;
    };
    std::vector<Node> nodes;
    using Item = std::pair<unsigned long, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int s = 0; s < 256; s++)
        if (freq[s]) {
            nodes.push_back({freq[s], -1 - s, -1 - s});
            queue.push({freq[s], static_cast<int>(nodes.size()) - 1});
        }
    while (queue.size() > 1) {
        Item a = queue.top();
        queue.pop();
        Item b = queue.top();
        queue.pop();
        nodes.push_back({a.first + b.first, a.second, b.second});
        queue.push({a.first + b.first, static_cast<int>(nodes.size()) - 1});
    }
    CodeLengths lengths{};
    std::vector<std::pair<int, int>> stack;  // node, depth
    if (!nodes.empty()) stack.push_back({static_cast<int>(nodes.size()) - 1, 0});
    while (!stack.empty()) {
        auto [index, depth] = stack.back();
        stack.pop_back();
        const Node& node = nodes[index];
        if (node.left < 0) {
            lengths[-1 - node.left] = depth;
            continue;
        }
        stack.push_back({node.left, depth + 1});
        stack.push_back({node.right, depth + 1});
    }
    return lengths;
}

inline void PutN(Bytes& out, unsigned long n)
{
    for (int i = 0; i < 4; i++) out.push_back(static_cast<unsigned char>(n >> (8 * i)));
}

// A text of one distinct symbol (lengths all 0) is written in the L0 = 0 form.
inline Bytes EncodeLng(const std::string& text, const CodeLengths& lengths)
{
    Bytes out;
    PutN(out, text.size());
    int minLen = 99, maxLen = 0;
    for (int len : lengths)
        if (len) minLen = std::min(minLen, len), maxLen = std::max(maxLen, len);
    if (maxLen == 0) {
        out.push_back(0);
        out.push_back(text.empty() ? 'x' : static_cast<unsigned char>(text[0]));
        return out;
    }
    out.push_back(static_cast<unsigned char>(minLen));
    std::array<unsigned long long, 256> code{};
    unsigned long long next = 0;
    for (int len = minLen; len <= maxLen; len++) {
        std::vector<int> symbols;
        for (int s = 0; s < 256; s++)
            if (lengths[s] == len) symbols.push_back(s);
        out.push_back(static_cast<unsigned char>(symbols.size()));
        for (int s : symbols) {
            out.push_back(static_cast<unsigned char>(s));
            code[s] = next++;
        }
        next <<= 1;
    }
    int bitCount = 0;
    unsigned char pending = 0;
    for (unsigned char c : text)
        for (int bit = lengths[c] - 1; bit >= 0; bit--) {
            pending = static_cast<unsigned char>((pending << 1) | ((code[c] >> bit) & 1));
            if (++bitCount == 8) out.push_back(pending), bitCount = 0, pending = 0;
        }
    if (bitCount) out.push_back(static_cast<unsigned char>(pending << (8 - bitCount)));
    return out;
}

inline Bytes EncodeLng(const std::string& text) { return EncodeLng(text, HuffmanLengths(text)); }

#endif
