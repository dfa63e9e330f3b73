#pragma once

// The look-up index of the materials database: every name, code, molecular formula, other name
// and other-name code of every material, compared ignoring case, as a balanced binary search
// tree over the distinct keys. Materials sharing a key hang on the duplicate chain of the key's
// node.
//
// The index owns copies of its keys and names materials by their position in the collection,
// never by pointer: an index that no longer matches the records can miss, but it never reads a
// record that has gone. The collection rebuilds it after every change of a key.
//
// Keys are compared byte by byte after the capital letters A to Z are turned into small letters
// (CompareNoCase's order), folding both sides as they are compared: a large database keeps no
// second, folded copy of every key.
//
// Exact look-ups, which every glaze analysis makes for every ingredient, go through a hash table
// over the same distinct keys instead of down the tree: they find the same node, touching far
// less memory in a large database. Build makes the hash table only; the tree, which only the
// prefix searches walk, is linked when the first of them (or Root) needs it.
//
// Use: Reset, then for each key NewNode, fill the node, AddEntry; then Build; then search. A key
// added with AddKey after Build joins the built index at once, as the last entry (the index of a
// material appended to the collection grows without a rebuild).

#include <string>
#include <string_view>
#include <vector>

class CNameIndex {
public:
    struct Node {
        std::string key;            // the key as the record spells it
        std::string display;        // what a canonical look-up shows, when hasDisplay
        bool hasDisplay = false;    // false: a canonical look-up shows the key itself
        int record = -1;            // position of the material in the collection
        int left = -1;              // subtree of keys that sort before (once the tree is linked)
        int right = -1;             // subtree of keys that sort after
        int nextDuplicate = -1;     // next node with the same key, case ignored
    };

    // Nodes are made this many at a time and kept for reuse across rebuilds.
    static constexpr int kBlockSize = 100;

    // Hands out the next free node (made empty) and returns its number.
    int NewNode();
    // Counts a filled node as an entry. Nodes are handed out in order, so the entries are the
    // nodes 0 .. EntryCount() - 1.
    void AddEntry(int node);
    // NewNode, filled with key (folded too), record and display name (null: the key itself),
    // then AddEntry (and into the hash table when the index is built). An empty key is not
    // added. Returns the node, or -1.
    int AddKey(std::string_view key, int record, const std::string* display);
    // Makes room for count nodes at once, so that an index of a known size is not over-allocated.
    void Reserve(int count);
    // Chains equal keys and hashes the distinct ones; afterwards the index can be searched.
    void Build();
    // Forgets every entry; the nodes are kept for the next build.
    void Reset();
    // Frees every node.
    void FreeAll();

    // The node whose key equals key ignoring case, or -1. Other nodes with the same key are on
    // its duplicate chain.
    int FindExact(std::string_view key) const;
    // A node whose key begins with text ignoring case: -1 when none does (or text is empty), -2
    // when keys of two or more different materials do.
    int FindPrefix(std::string_view text);
    // Below start: a node whose key begins with text and whose material is not record, or -1.
    // Keys of one material (its name and an other name beginning alike) count as one match.
    int FindOtherPrefixMatch(std::string_view text, int record, int start) const;

    const Node& GetNode(int node) const { return m_nodes[static_cast<std::size_t>(node)]; }
    Node& GetNode(int node) { return m_nodes[static_cast<std::size_t>(node)]; }
    // The text a canonical look-up that met this node shows.
    const std::string& DisplayName(int node) const;

    // The root of the tree of distinct keys (linked now if it was not yet), or -1.
    int Root();
    int EntryCount() const { return m_entryCount; }
    int Capacity() const { return static_cast<int>(m_nodes.size()); }
    bool IsBuilt() const { return m_built; }

private:
    int BuildBalanced(const std::vector<int>& heads, int first, int count);
    void BuildHashTable();
    // Puts entry n into the hash table, which has room for it: heading its key's chain, or right
    // behind the head.
    void HashEntry(int n);
    void BuildTree();

    std::vector<Node> m_nodes; // every node made so far; a node's number is its position
    std::vector<int> m_hashSlots; // the distinct keys' nodes by hash, -1 for a free slot
    int m_used = 0;            // nodes handed out since the last reset
    int m_root = -1;
    int m_entryCount = 0;
    bool m_built = false;
    bool m_treeBuilt = false;
};
