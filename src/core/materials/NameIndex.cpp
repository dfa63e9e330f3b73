#include "materials/NameIndex.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

char FoldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Sign of (key folded) - (text folded), comparing bytes as unsigned values; both are folded on
// the fly so that neither the index nor a search keeps a folded copy. With prefix set only the
// first text-length characters of the key count: a key that begins with text compares equal, a
// shorter key compares whole.
int CompareKey(std::string_view key, std::string_view text, bool prefix)
{
    const std::size_t n = std::min(key.size(), text.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(FoldChar(key[i]));
        const auto b = static_cast<unsigned char>(FoldChar(text[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (key.size() == text.size())
        return 0;
    if (key.size() < text.size())
        return -1;
    return prefix ? 0 : 1;
}

// FNV-1a over the folded bytes of text.
std::size_t HashFolded(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(FoldChar(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

} // namespace

int CNameIndex::NewNode()
{
    if (m_used == Capacity()) {
        // A block, or what room Reserve left when that is less.
        const std::size_t room = m_nodes.capacity() - m_nodes.size();
        m_nodes.resize(m_nodes.size() + (room > 0 && room < kBlockSize ? room : kBlockSize));
    }
    Node& node = m_nodes[static_cast<std::size_t>(m_used)];
    // clear() keeps the strings' buffers: a rebuild reuses them.
    node.key.clear();
    node.display.clear();
    node.hasDisplay = false;
    node.record = -1;
    node.left = -1;
    node.right = -1;
    node.nextDuplicate = -1;
    return m_used++;
}

void CNameIndex::AddEntry(int node)
{
    if (node == m_entryCount && node < m_used)
        ++m_entryCount;
}

int CNameIndex::AddKey(std::string_view key, int record, const std::string* display)
{
    if (key.empty())
        return -1;
    const int n = NewNode();
    Node& node = GetNode(n);
    node.key = key;
    node.record = record;
    node.hasDisplay = display != nullptr;
    if (display)
        node.display = *display;
    AddEntry(n);
    if (m_built) {
        if (2 * static_cast<std::size_t>(m_entryCount) > m_hashSlots.size())
            BuildHashTable();
        else
            HashEntry(n);
        m_treeBuilt = false;
        m_root = -1;
    }
    return n;
}

void CNameIndex::Reserve(int count)
{
    if (count > Capacity() && static_cast<std::size_t>(count) > m_nodes.capacity())
        m_nodes.reserve(static_cast<std::size_t>(count));
}

void CNameIndex::Reset()
{
    m_used = 0;
    m_root = -1;
    m_treeBuilt = false;
    m_entryCount = 0;
    m_built = false;
    m_hashSlots.clear();
}

void CNameIndex::FreeAll()
{
    Reset();
    std::vector<Node>().swap(m_nodes);
}

const std::string& CNameIndex::DisplayName(int node) const
{
    const Node& n = GetNode(node);
    return n.hasDisplay ? n.display : n.key;
}

void CNameIndex::Build()
{
    m_root = -1;
    m_treeBuilt = false;
    m_built = true;
    BuildHashTable();
}

// Open addressing with linear probing over the distinct keys, at most half full. Entries go in
// in node order, so the first material in database order heads its key's chain and answers a
// look-up: the same answer on every rebuild. A later node with the same key goes right behind
// the head.
void CNameIndex::BuildHashTable()
{
    std::size_t size = 16;
    while (size < 2 * static_cast<std::size_t>(m_entryCount))
        size *= 2;
    m_hashSlots.assign(size, -1);
    for (int n = 0; n < m_entryCount; ++n)
        HashEntry(n);
}

void CNameIndex::HashEntry(int n)
{
    const std::size_t mask = m_hashSlots.size() - 1;
    Node& node = GetNode(n);
    node.left = node.right = node.nextDuplicate = -1;
    std::size_t slot = HashFolded(node.key) & mask;
    while (m_hashSlots[slot] >= 0 && CompareKey(GetNode(m_hashSlots[slot]).key, node.key, false) != 0)
        slot = (slot + 1) & mask;
    if (m_hashSlots[slot] < 0) {
        m_hashSlots[slot] = n;
        return;
    }
    Node& head = GetNode(m_hashSlots[slot]);
    node.nextDuplicate = head.nextDuplicate;
    head.nextDuplicate = n;
}

// The tree serves the prefix searches only, so it is linked on the first of them: opening a
// large database needs the exact look-ups alone.
void CNameIndex::BuildTree()
{
    if (!m_built || m_treeBuilt)
        return;
    // Links of an earlier tree go first: a key added since may sit anywhere in the new one.
    for (int n = 0; n < m_entryCount; ++n)
        GetNode(n).left = GetNode(n).right = -1;
    std::vector<int> heads;
    for (int n : m_hashSlots) {
        if (n >= 0)
            heads.push_back(n);
    }
    std::sort(heads.begin(), heads.end(),
              [this](int a, int b) { return CompareKey(GetNode(a).key, GetNode(b).key, false) < 0; });
    m_root = BuildBalanced(heads, 0, static_cast<int>(heads.size()));
    m_treeBuilt = true;
}

int CNameIndex::Root()
{
    BuildTree();
    return m_root;
}

// The middle of the run becomes the subtree's root; a run of two is the first node with the
// second as its right child.
int CNameIndex::BuildBalanced(const std::vector<int>& heads, int first, int count)
{
    if (count <= 0)
        return -1;
    if (count < 3) {
        const int root = heads[static_cast<std::size_t>(first)];
        if (count == 2)
            GetNode(root).right = heads[static_cast<std::size_t>(first) + 1];
        return root;
    }
    const int middle = first + count / 2;
    const int root = heads[static_cast<std::size_t>(middle)];
    GetNode(root).left = BuildBalanced(heads, first, count / 2);
    GetNode(root).right = BuildBalanced(heads, middle + 1, (count - 1) / 2);
    return root;
}

int CNameIndex::FindExact(std::string_view key) const
{
    if (!m_built || m_hashSlots.empty())
        return -1;
    const std::size_t mask = m_hashSlots.size() - 1;
    for (std::size_t slot = HashFolded(key) & mask;; slot = (slot + 1) & mask) {
        const int n = m_hashSlots[slot];
        if (n < 0 || CompareKey(GetNode(n).key, key, false) == 0)
            return n;
    }
}

int CNameIndex::FindPrefix(std::string_view text)
{
    if (text.empty())
        return -1;
    BuildTree();
    int n = m_built ? m_root : -1;
    while (n >= 0) {
        const int c = CompareKey(GetNode(n).key, text, true);
        if (c == 0)
            return FindOtherPrefixMatch(text, GetNode(n).record, n) >= 0 ? -2 : n;
        n = c < 0 ? GetNode(n).right : GetNode(n).left;
    }
    return -1;
}

int CNameIndex::FindOtherPrefixMatch(std::string_view text, int record, int start) const
{
    int n = start;
    while (n >= 0) {
        const Node& node = GetNode(n);
        const int c = CompareKey(node.key, text, true);
        if (c != 0) {
            n = c < 0 ? node.right : node.left;
            continue;
        }
        if (node.record != record)
            return n;
        for (int d = node.nextDuplicate; d >= 0; d = GetNode(d).nextDuplicate) {
            if (GetNode(d).record != record)
                return d;
        }
        // Matching keys form one run in sorted order: both subtrees of a match may hold more.
        const int left = FindOtherPrefixMatch(text, record, node.left);
        if (left >= 0)
            return left;
        n = node.right;
    }
    return -1;
}
