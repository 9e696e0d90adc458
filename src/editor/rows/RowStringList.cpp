#include "RowStringList.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillon {

EStringListError::EStringListError() : Exception("リストのインデックスが範囲を超えています") {}

TRowStringList::TRowStringList() = default;

TRowStringList::~TRowStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

// Finding rows

int TRowStringList::BlockOf(int Index) const {
    const int blocks = static_cast<int>(FBlocks.size());
    for (int b : {FLastBlock, FLastBlock + 1})
        if (b < blocks && StartOf(b) <= Index && Index < StartOf(b + 1)) return FLastBlock = b;
    FLastBlock = static_cast<int>(std::upper_bound(FStarts.begin(), FStarts.end(), Index) - FStarts.begin()) - 1;
    return FLastBlock;
}

TRowStringList::TRowItem& TRowStringList::Item(int Index) {
    return const_cast<TRowItem&>(std::as_const(*this).Item(Index));
}

const TRowStringList::TRowItem& TRowStringList::Item(int Index) const {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    const int b = BlockOf(Index);
    return Block(b).Items[static_cast<std::size_t>(Index - StartOf(b))];
}

const TRowStringList::TRowCarry& TRowStringList::Carry(int Index) const {
    static const TRowCarry zero;
    if (Index < 0 || Index >= Count()) throw EStringListError();
    const TBlock& block = Block(BlockOf(Index));
    return block.Carries.empty() ? zero : block.Carries[static_cast<std::size_t>(Index - StartOf(FLastBlock))];
}

void TRowStringList::SetCarry(int Index, const TRowCarry& Value) {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    TBlock& block = Block(BlockOf(Index));
    if (block.Carries.empty()) {
        if (Value == TRowCarry{}) return;
        block.Carries.resize(block.Items.size());
    }
    block.Carries[static_cast<std::size_t>(Index - StartOf(FLastBlock))] = Value;
}

std::string_view TRowStringList::Get(int Index) const {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    const TBlock& block = Block(BlockOf(Index));
    const std::size_t i = static_cast<std::size_t>(Index - StartOf(FLastBlock));
    return {block.Text.data() + block.Items[i].Offset, LengthOf(block, i)};
}

void TRowStringList::SetDataStr(int Index, const std::string& Value) {
    TRowCarry carry = Carry(Index);
    carry.DataStr = Intern(Value);
    SetCarry(Index, carry);
}

void TRowStringList::SetCol(int Index, std::int32_t Value) {
    TRowCarry carry = Carry(Index);
    carry.Col = Value;
    SetCarry(Index, carry);
}

std::uint32_t TRowStringList::RowState(int Index) const { return Item(Index).Attribute | Carry(Index).State; }

void TRowStringList::SetRowState(int Index, std::uint32_t Value) {
    Item(Index).Attribute = static_cast<std::uint8_t>(Value & 3u);
    TRowCarry carry = Carry(Index);
    carry.State = static_cast<std::uint8_t>(Value & 0xFCu);
    SetCarry(Index, carry);
}

std::uint32_t TRowStringList::TokenState(int Index) const {
    return static_cast<std::uint32_t>(Item(Index).Marks) << 16 | Carry(Index).Token;
}

void TRowStringList::SetTokenState(int Index, std::uint32_t Value) {
    Item(Index).Marks = static_cast<std::uint16_t>(Value >> 16);
    TRowCarry carry = Carry(Index);
    carry.Token = static_cast<std::uint16_t>(Value);
    SetCarry(Index, carry);
}

std::uint32_t TRowStringList::Intern(const std::string& S) {
    if (S.empty()) return 0;
    auto [it, added] = FDataStrIndex.try_emplace(S, static_cast<std::uint32_t>(FDataStrs.size()));
    if (added) FDataStrs.push_back(S);
    return it->second;
}

// Changing one block

std::size_t TRowStringList::EndOf(const TBlock& B, std::size_t I) {
    return I + 1 < B.Items.size() ? B.Items[I + 1].Offset : B.Text.size();
}

std::uint32_t TRowStringList::LengthOf(const TBlock& B, std::size_t I) {
    return static_cast<std::uint32_t>(EndOf(B, I) - B.Items[I].Offset - 1);
}

void TRowStringList::SpliceText(TBlock& B, int I, std::size_t Pos, std::size_t Count, std::string_view S) {
    if (S.data() >= B.Text.data() && S.data() < B.Text.data() + B.Text.size()) {
        const std::string copy(S);
        SpliceText(B, I, Pos, Count, copy);
        return;
    }
    B.Text.replace(B.Items[static_cast<std::size_t>(I)].Offset + Pos, Count, S.data(), S.size());
    // The rows after it move by the difference (the unsigned sum wraps to a smaller offset).
    const std::uint32_t grown = static_cast<std::uint32_t>(S.size() - Count);
    for (std::size_t k = static_cast<std::size_t>(I) + 1; k < B.Items.size(); ++k) B.Items[k].Offset += grown;
}

void TRowStringList::SpliceBlock(TBlock& B, int First, const TRowSplice* Splices, std::size_t N, std::string& Spare) {
    std::size_t size = B.Text.size();
    for (std::size_t k = 0; k < N; ++k) size = size + Splices[k].Text.size() - Splices[k].Length;
    // The spare room of KeepSpare, reusing the buffer a block before this one left when it fits.
    if (Spare.capacity() < size || Spare.capacity() > size + size / 4) {
        Spare = std::string();
        Spare.reserve(size + size / 8);
    }
    Spare.clear();
    std::size_t copied = 0; // the old text up to here is in Spare
    std::uint32_t shift = 0;
    std::size_t next = 0;
    for (auto i = static_cast<std::size_t>(Splices[0].Row - First); i < B.Items.size(); ++i) {
        const std::size_t offset = B.Items[i].Offset;
        B.Items[i].Offset += shift; // the unsigned sum wraps to a smaller offset
        if (next == N || static_cast<std::size_t>(Splices[next].Row - First) != i) continue;
        const TRowSplice& s = Splices[next++];
        Spare.append(B.Text, copied, offset + s.Pos - copied).append(s.Text);
        copied = offset + s.Pos + s.Length;
        shift += static_cast<std::uint32_t>(s.Text.size() - s.Length);
    }
    Spare.append(B.Text, copied);
    B.Text.swap(Spare);
}

void TRowStringList::SetText(TBlock& B, int I, std::string_view S) {
    SpliceText(B, I, 0, LengthOf(B, static_cast<std::size_t>(I)), S);
}

void TRowStringList::SpliceInto(TBlock& B, int I, const TRowItem* Items, const TRowCarry* Carries,
                                const std::string_view* Texts, int N) {
    const std::size_t at = static_cast<std::size_t>(I);
    const std::size_t pos = at < B.Items.size() ? B.Items[at].Offset : B.Text.size();
    std::size_t bytes = 0;
    bool own = false;
    for (int k = 0; k < N; ++k) {
        bytes += Texts[k].size() + 1;
        own = own || (Texts[k].data() >= B.Text.data() && Texts[k].data() < B.Text.data() + B.Text.size());
    }
    if (own) {
        // The texts lie in this block: join them before its buffer changes.
        std::string joined;
        joined.reserve(bytes);
        for (int k = 0; k < N; ++k) joined.append(Texts[k]).push_back('\0');
        B.Text.insert(pos, joined);
    } else {
        B.Text.insert(pos, bytes, '\0');
        std::size_t offset = pos;
        for (int k = 0; k < N; ++k) {
            if (!Texts[k].empty()) std::memcpy(B.Text.data() + offset, Texts[k].data(), Texts[k].size());
            offset += Texts[k].size() + 1;
        }
    }
    for (std::size_t k = at; k < B.Items.size(); ++k) B.Items[k].Offset += static_cast<std::uint32_t>(bytes);
    B.Items.insert(B.Items.begin() + I, Items, Items + N);
    std::size_t offset = pos;
    for (int k = 0; k < N; ++k) {
        B.Items[at + static_cast<std::size_t>(k)].Offset = static_cast<std::uint32_t>(offset);
        offset += Texts[k].size() + 1;
    }
    if (B.Carries.empty() && Carries &&
        std::any_of(Carries, Carries + N, [](const TRowCarry& c) { return c != TRowCarry{}; }))
        B.Carries.resize(B.Items.size() - static_cast<std::size_t>(N));
    if (B.Carries.empty()) return;
    if (Carries)
        B.Carries.insert(B.Carries.begin() + I, Carries, Carries + N);
    else
        B.Carries.insert(B.Carries.begin() + I, static_cast<std::size_t>(N), TRowCarry{});
}

void TRowStringList::EraseFrom(TBlock& B, int I, int N) {
    const std::size_t at = static_cast<std::size_t>(I);
    const std::size_t from = B.Items[at].Offset;
    const std::size_t bytes = EndOf(B, at + static_cast<std::size_t>(N) - 1) - from;
    B.Text.erase(from, bytes);
    B.Items.erase(B.Items.begin() + I, B.Items.begin() + I + N);
    if (!B.Carries.empty()) B.Carries.erase(B.Carries.begin() + I, B.Carries.begin() + I + N);
    for (std::size_t k = at; k < B.Items.size(); ++k) B.Items[k].Offset -= static_cast<std::uint32_t>(bytes);
}

void TRowStringList::KeepSpare(std::string& Text) {
    // An eighth to spare: the first edits in the block do not move its text to fresh memory.
    const std::size_t wanted = Text.size() + Text.size() / 8;
    if (Text.capacity() >= wanted && Text.capacity() <= wanted + Text.size() / 8) return;
    std::string text;
    text.reserve(wanted);
    text = Text;
    Text.swap(text);
}

std::unique_ptr<TRowStringList::TBlock> TRowStringList::PieceOf(const TBlock& B, std::size_t First, std::size_t End) {
    auto piece = std::make_unique<TBlock>();
    piece->Items.assign(B.Items.begin() + static_cast<std::ptrdiff_t>(First),
                        B.Items.begin() + static_cast<std::ptrdiff_t>(End));
    if (!B.Carries.empty())
        piece->Carries.assign(B.Carries.begin() + static_cast<std::ptrdiff_t>(First),
                              B.Carries.begin() + static_cast<std::ptrdiff_t>(End));
    const std::size_t from = B.Items[First].Offset;
    const std::size_t size = EndOf(B, End - 1) - from;
    piece->Text.reserve(size + size / 8); // the spare room of KeepSpare, without a second copy
    piece->Text.assign(B.Text, from, size);
    for (TRowItem& item : piece->Items) item.Offset -= static_cast<std::uint32_t>(from);
    return piece;
}

bool TRowStringList::Oversized(const TBlock& B) {
    return B.Items.size() > 1 && (B.Items.size() > static_cast<std::size_t>(kBlockRows) || B.Text.size() > kBlockBytes);
}

// Keeping the blocks within their limits

void TRowStringList::Renumber(int FromBlock) {
    FStarts.resize(FBlocks.size() + 1);
    for (std::size_t b = static_cast<std::size_t>(std::max(FromBlock, 0)); b < FBlocks.size(); ++b)
        FStarts[b + 1] = FStarts[b] + static_cast<int>(FBlocks[b]->Items.size());
    FLastBlock = 0;
}

void TRowStringList::Balance(int B) {
    if (B < 0 || B >= static_cast<int>(FBlocks.size())) return;
    if (Oversized(Block(B)))
        Cut(B);
    else
        Join(B);
}

void TRowStringList::Cut(int B) {
    const TBlock& block = Block(B);
    // Equal pieces of at most half the limits, so that the next edits do not cut again.
    const std::size_t rows = block.Items.size();
    const std::size_t pieces = std::max((rows + kBlockRows / 2 - 1) / (kBlockRows / 2),
                                        (block.Text.size() + kBlockBytes / 2 - 1) / (kBlockBytes / 2));
    const std::size_t pieceRows = (rows + pieces - 1) / pieces;
    std::vector<std::unique_ptr<TBlock>> cut;
    for (std::size_t first = 0; first < rows;) {
        const std::size_t from = block.Items[first].Offset;
        std::size_t end = first + 1;
        while (end < rows && end - first < pieceRows && EndOf(block, end) - from <= kBlockBytes / 2) ++end;
        cut.push_back(PieceOf(block, first, end));
        first = end;
    }
    FBlocks.erase(FBlocks.begin() + B);
    FBlocks.insert(FBlocks.begin() + B, std::make_move_iterator(cut.begin()), std::make_move_iterator(cut.end()));
    Renumber(B);
}

void TRowStringList::Join(int B) {
    const TBlock& block = Block(B);
    // A small block joins a neighbour when both fit in one block.
    if (block.Items.size() >= static_cast<std::size_t>(kBlockRows / 4) && block.Text.size() >= kBlockBytes / 4) return;
    auto fits = [&](int a, int b) {
        return Block(a).Items.size() + Block(b).Items.size() <= static_cast<std::size_t>(kBlockRows) &&
               Block(a).Text.size() + Block(b).Text.size() <= kBlockBytes;
    };
    int into = B;
    if (B + 1 >= static_cast<int>(FBlocks.size()) || !fits(B, B + 1)) {
        if (B == 0 || !fits(B - 1, B)) return;
        into = B - 1;
    }
    TBlock& a = Block(into);
    TBlock& b = Block(into + 1);
    const std::uint32_t shift = static_cast<std::uint32_t>(a.Text.size());
    a.Text += b.Text;
    for (TRowItem& item : b.Items) item.Offset += shift;
    if (!a.Carries.empty() || !b.Carries.empty()) {
        a.Carries.resize(a.Items.size());
        b.Carries.resize(b.Items.size());
        a.Carries.insert(a.Carries.end(), b.Carries.begin(), b.Carries.end());
    }
    a.Items.insert(a.Items.end(), b.Items.begin(), b.Items.end());
    FBlocks.erase(FBlocks.begin() + into + 1);
    Renumber(into);
}

// Capacity

void TRowStringList::Grow() {
    int delta = FCapacity < 9 ? 4 : FCapacity <= 64 ? 16 : FCapacity / 4;
    FCapacity += delta;
}

void TRowStringList::GrowTo(int NewCount) {
    while (FCapacity < NewCount) Grow();
}

void TRowStringList::SetCapacity(int NewCapacity) { FCapacity = std::max(NewCapacity, Count()); }

// Changing rows

void TRowStringList::Put(int Index, std::string_view S) {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    Changing();
    const int b = BlockOf(Index);
    SetText(Block(b), Index - StartOf(b), S);
    Balance(b);
    Changed();
}

void TRowStringList::SpliceRows(const std::vector<TRowSplice>& Splices) {
    for (std::size_t k = 0; k < Splices.size(); ++k) {
        const TRowSplice& s = Splices[k];
        if (s.Row < 0 || s.Row >= Count() || (k > 0 && s.Row <= Splices[k - 1].Row) ||
            s.Pos + s.Length > Get(s.Row).size())
            throw EStringListError();
    }
    if (Splices.empty()) return;
    Changing();
    std::string spare;
    for (std::size_t k = 0; k < Splices.size();) {
        const int b = BlockOf(Splices[k].Row);
        std::size_t n = k + 1;
        while (n < Splices.size() && Splices[n].Row < StartOf(b + 1)) ++n;
        // One change moves only the rest of its block (a keystroke in a long row); more are written
        // into a new text at once.
        if (n - k == 1)
            SpliceText(Block(b), Splices[k].Row - StartOf(b), Splices[k].Pos, Splices[k].Length, Splices[k].Text);
        else
            SpliceBlock(Block(b), StartOf(b), &Splices[k], n - k, spare);
        // Rows keep their numbers whatever blocks the balance makes.
        Balance(b);
        k = n;
    }
    Changed();
}

int TRowStringList::Add(std::string_view S) {
    const int index = Count();
    TBlock* last = FBlocks.empty() ? nullptr : FBlocks.back().get();
    if (!last || last->Items.size() >= kBlockRows || last->Text.size() + S.size() + 1 > kBlockBytes) {
        Insert(index, S);
        return index;
    }
    // The row fits in the last block (as nearly every row of a load does): it is put at its end.
    Changing();
    GrowTo(index + 1);
    last->Items.push_back({static_cast<std::uint32_t>(last->Text.size())});
    if (!last->Carries.empty()) last->Carries.emplace_back();
    last->Text.append(S).push_back('\0');
    ++FStarts.back();
    Changed();
    return index;
}

void TRowStringList::InsertItems(int Index, const TRowItem* Items, const TRowCarry* Carries,
                                 const std::string_view* Texts, int N) {
    GrowTo(Count() + N);
    int b = 0;
    if (Index < Count()) {
        b = BlockOf(Index);
    } else if (FBlocks.empty() || Block(static_cast<int>(FBlocks.size()) - 1).Items.size() >= kBlockRows ||
               Block(static_cast<int>(FBlocks.size()) - 1).Text.size() + Texts[0].size() + 1 > kBlockBytes) {
        // Appending to a full block: it is closed and a new one begun, sized like the one before
        // (with its spare), so that the text is seldom moved when the new block closes. The first
        // block grows as it fills: a short list allocates little.
        std::size_t bytes = 0, rows = 0;
        if (!FBlocks.empty()) {
            const TBlock& full = *FBlocks.back();
            bytes = std::min(kBlockBytes, full.Text.size() * kBlockRows / std::max<std::size_t>(full.Items.size(), 1));
            rows = full.Items.size();
            KeepSpare(FBlocks.back()->Text);
        }
        FBlocks.push_back(std::make_unique<TBlock>());
        FBlocks.back()->Text.reserve(bytes + bytes / 8);
        FBlocks.back()->Items.reserve(rows + rows / 8);
        b = static_cast<int>(FBlocks.size()) - 1;
        Renumber(b);
    } else {
        b = static_cast<int>(FBlocks.size()) - 1;
    }
    const bool appended = Index == Count();
    SpliceInto(Block(b), Index - StartOf(b), Items, Carries, Texts, N);
    if (appended && !Oversized(Block(b))) {
        // Rows added to the last block within its limits (a load): only the count moves.
        FStarts.back() += N;
        return;
    }
    Renumber(b);
    Balance(b);
}

void TRowStringList::Insert(int Index, std::string_view S) {
    if (Index < 0 || Index > Count()) throw EStringListError();
    const TRowItem item;
    Changing();
    InsertItems(Index, &item, nullptr, &S, 1);
    Changed();
}

void TRowStringList::InsertBlank(int Index, int N) {
    if (Index < 0 || Index > Count()) throw EStringListError();
    if (N <= 0) return;
    const std::vector<TRowItem> items(static_cast<std::size_t>(N));
    const std::vector<std::string_view> texts(static_cast<std::size_t>(N));
    Changing();
    InsertItems(Index, items.data(), nullptr, texts.data(), N);
    Changed();
}

void TRowStringList::InsertRows(int Index, const TRowStringList& Source, int From, int N) {
    if (N < 0) N = Source.Count() - From;
    if (Index < 0 || Index > Count() || From < 0 || N > Source.Count() - From) throw EStringListError();
    if (N == 0) return;
    std::vector<TRowItem> items;
    std::vector<TRowCarry> carries;
    std::vector<std::string_view> texts;
    items.reserve(static_cast<std::size_t>(N));
    carries.reserve(static_cast<std::size_t>(N));
    texts.reserve(static_cast<std::size_t>(N));
    for (int r = From; r < From + N; ++r) {
        items.push_back(Source.Item(r));
        carries.push_back(Source.Carry(r));
        carries.back().DataStr = Intern(Source.DataStr(r));
        texts.push_back(Source.Get(r));
    }
    Changing();
    InsertItems(Index, items.data(), carries.data(), texts.data(), N);
    Changed();
}

void TRowStringList::CopyRow(int Index, const TRowStringList& Source, int SourceIndex) {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    TRowItem copy = Source.Item(SourceIndex);
    TRowCarry carry = Source.Carry(SourceIndex);
    carry.DataStr = Intern(Source.DataStr(SourceIndex));
    const std::string_view text = Source.Get(SourceIndex);
    Changing();
    const int b = BlockOf(Index);
    TRowItem& item = Block(b).Items[static_cast<std::size_t>(Index - StartOf(b))];
    copy.Offset = item.Offset;
    item = copy;
    SetCarry(Index, carry);
    SetText(Block(b), Index - StartOf(b), text);
    Balance(b);
    Changed();
}

void TRowStringList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    Erase(Index, 1);
}

void TRowStringList::Erase(int Index, int N) {
    if (N <= 0) return;
    if (Index < 0 || N > Count() - Index) throw EStringListError();
    Changing();
    const int first = BlockOf(Index);
    int b = first;
    for (int left = N, at = Index - StartOf(first); left > 0; ++b, at = 0) {
        TBlock& block = Block(b);
        const int k = std::min(left, static_cast<int>(block.Items.size()) - at);
        if (k == static_cast<int>(block.Items.size())) {
            block.Items.clear();
            block.Carries.clear();
            block.Text.clear();
        } else {
            EraseFrom(block, at, k);
        }
        left -= k;
    }
    // The emptied blocks go; the blocks the range began and ended in are now neighbours.
    FBlocks.erase(std::remove_if(FBlocks.begin() + first, FBlocks.begin() + b,
                                 [](const std::unique_ptr<TBlock>& block) { return block->Items.empty(); }),
                  FBlocks.begin() + b);
    Renumber(first);
    const int seam = std::min(first, static_cast<int>(FBlocks.size()) - 1);
    Balance(seam + 1);
    Balance(seam);
    Changed();
}

int TRowStringList::StartBlockAt(int Row) {
    if (Row >= Count()) return static_cast<int>(FBlocks.size());
    const int b = BlockOf(Row);
    const auto at = static_cast<std::size_t>(Row - StartOf(b));
    if (at == 0) return b;
    TBlock& block = Block(b);
    const std::size_t rows = block.Items.size();
    FBlocks.insert(FBlocks.begin() + b + 1, PieceOf(block, at, rows));
    EraseFrom(block, static_cast<int>(at), static_cast<int>(rows - at));
    Renumber(b);
    return b + 1;
}

void TRowStringList::ReplaceItems(int Index, int N, const TRowItem* Items, const std::string_view* Texts,
                                  int NewCount) {
    if (Index < 0 || N < 0 || N > Count() - Index || NewCount < 0) throw EStringListError();
    if (N == 0 && NewCount == 0) return;
    Changing();
    // The new rows first, while the texts they are read from stay where they are: blocks filled as a
    // load fills them.
    std::vector<std::unique_ptr<TBlock>> made;
    for (int k = 0; k < NewCount;) {
        int end = k;
        std::size_t bytes = 0;
        for (; end < NewCount && end - k < kBlockRows && (end == k || bytes + Texts[end].size() < kBlockBytes); ++end)
            bytes += Texts[end].size() + 1;
        auto block = std::make_unique<TBlock>();
        block->Text.reserve(bytes + bytes / 8);
        block->Items.assign(Items + k, Items + end);
        for (int i = k; i < end; ++i) {
            block->Items[static_cast<std::size_t>(i - k)].Offset = static_cast<std::uint32_t>(block->Text.size());
            block->Text.append(Texts[i]).push_back('\0');
        }
        made.push_back(std::move(block));
        k = end;
    }
    // The rows after the range keep their block (split off when the range ends inside it); the rows
    // before it keep theirs, which only loses its end.
    const int after = StartBlockAt(Index + N);
    int from = after;
    if (N > 0) {
        from = BlockOf(Index);
        TBlock& head = Block(from);
        const int at = Index - StartOf(from);
        if (at > 0) {
            EraseFrom(head, at, static_cast<int>(head.Items.size()) - at);
            ++from;
        }
    }
    FBlocks.erase(FBlocks.begin() + from, FBlocks.begin() + after);
    const int madeCount = static_cast<int>(made.size());
    FBlocks.insert(FBlocks.begin() + from, std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
    Renumber(from - 1);
    GrowTo(Count());
    // Small blocks at the seams join a neighbour, from the last seam up, so that the earlier indices hold.
    Balance(from + madeCount);
    Balance(from + madeCount - 1);
    Balance(from - 1);
    Changed();
}

void TRowStringList::Exchange(int Index1, int Index2) {
    TRowItem& a = Item(Index1);
    TRowItem& b = Item(Index2);
    Changing();
    const std::string text1(Get(Index1)), text2(Get(Index2));
    const TRowCarry carry1 = Carry(Index1), carry2 = Carry(Index2);
    std::swap(a, b);
    std::swap(a.Offset, b.Offset);
    SetCarry(Index1, carry2);
    SetCarry(Index2, carry1);
    for (auto [index, text] : {std::pair{Index1, &text2}, std::pair{Index2, &text1}}) {
        const int block = BlockOf(index);
        SetText(Block(block), index - StartOf(block), *text);
    }
    Balance(BlockOf(Index2));
    Balance(BlockOf(Index1));
    Changed();
}

void TRowStringList::Clear() {
    if (Count() == 0) return;
    Changing();
    FBlocks.clear();
    FStarts.assign(1, 0);
    FLastBlock = 0;
    FDataStrs.assign(1, std::string());
    FDataStrIndex.clear();
    FCapacity = 0;
    Changed();
}

void TRowStringList::TakeRows(TRowStringList& Source) {
    Changing();
    FBlocks = std::move(Source.FBlocks);
    FStarts = std::move(Source.FStarts);
    FDataStrs = std::move(Source.FDataStrs);
    FDataStrIndex = std::move(Source.FDataStrIndex);
    FCapacity = std::max(Source.FCapacity, Count());
    FLastBlock = 0;
    Source.FBlocks.clear();
    Source.FStarts.assign(1, 0);
    Source.FDataStrs.assign(1, std::string());
    Source.FDataStrIndex.clear();
    Source.FCapacity = 0;
    Source.FLastBlock = 0;
    Changed();
}

// Events

void TRowStringList::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TRowStringList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TRowStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        Changing();
        ++FUpdating;
    } else {
        --FUpdating;
        Changed();
    }
}

void TRowStringList::Changing() {
    if (FUpdating == 0 && OnChanging) OnChanging(*this);
}

void TRowStringList::Changed() {
    if (FUpdating == 0 && OnChange) OnChange(*this);
}

} // namespace quillon
