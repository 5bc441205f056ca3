#include "app/pictures/PoissonBands.h"

#include "app/pictures/LaplacianImage.h"
#include "app/pictures/PoissonThreads.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

using namespace poisson;

namespace {

constexpr size_t kInitialCells = 65536;
constexpr size_t kBlockAlignment = 64;

// ---- Work block ----------------------------------------------------------------

size_t roundUp(size_t bytes)
{
    return (bytes + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
}

// Slots per band: the sweep updates slots lanes + 1 .. cw + 2 lanes - 2
// and reads up to lanes - 1 slots beyond them.
int slotsFor(int cw, int lanes)
{
    return cw + 3 * lanes;
}

// Bands holding the grid rows 0 .. ch (row ch + 1 is never read).
int bandsFor(int ch, int lanes)
{
    return (ch + 1 + lanes - 1) / lanes;
}

size_t blockBytes(int cw, int ch, int lanes)
{
    const size_t slots = slotsFor(cw, lanes), bands = bandsFor(ch, lanes);
    const size_t bandDoubles = slots * 3 * lanes;
    return roundUp((bands + 2) * bandDoubles * sizeof(double)) + roundUp(bands * bandDoubles * sizeof(LaplacianCell))
        + roundUp(bands * slots);
}

// Process-wide and unsynchronised: one solve at a time. Sized at first use
// for a 256 x 256 grid; a solve that needs more frees it and allocates
// exactly what it needs; it never shrinks. The capacity in grid cells is
// kept beside it, since the bytes a grid needs depend on its shape.
class WorkBlock {
public:
    static WorkBlock& instance()
    {
        static WorkBlock block;
        return block;
    }
    ~WorkBlock() { release(); }

    void reserve(size_t cells, size_t bytes)
    {
        m_cells = std::max(m_cells, cells);
        if (bytes <= m_bytes)
            return;
        release();
        m_data = static_cast<unsigned char*>(::operator new (bytes, std::align_val_t { kBlockAlignment }));
        m_bytes = bytes;
    }
    unsigned char* data() { return m_data; }
    size_t cells() const { return m_cells; }

private:
    WorkBlock() { reserve(kInitialCells, blockBytes(254, 254, 8)); }
    void release()
    {
        ::operator delete (m_data, std::align_val_t { kBlockAlignment });
        m_data = nullptr, m_bytes = 0;
    }

private:
    unsigned char* m_data = nullptr;
    size_t m_bytes = 0, m_cells = 0;
};

// l as the integer it is; false for a value that is not one (a negative
// zero included: it would not come back bit for bit).
bool toLaplacianCell(double l, LaplacianCell& out)
{
    if (!(l >= -2147483648.0 && l <= 2147483647.0))
        return false;
    out = static_cast<LaplacianCell>(l);
    const double back = out;
    return std::memcmp(&back, &l, sizeof l) == 0;
}

// Points the view into the work block (grown if needed) and clears the
// empty bands above and below; the bands themselves are cleared by the
// fill, each by the thread that fills it.
void carveBlock(Bands& g, int lanes)
{
    BandView& v = g.view;
    v.lanes = lanes;
    v.slots = slotsFor(g.cw, lanes);
    v.bandCount = bandsFor(g.ch, lanes);
    v.bandDoubles = static_cast<ptrdiff_t>(v.slots) * 3 * lanes;
    const size_t bands = v.bandCount, bandDoubles = v.bandDoubles;
    WorkBlock& block = WorkBlock::instance();
    block.reserve(static_cast<size_t>(g.cw + 2) * (g.ch + 2), blockBytes(g.cw, g.ch, lanes));
    unsigned char* at = block.data();
    const size_t valueBytes = roundUp((bands + 2) * bandDoubles * sizeof(double));
    const size_t laplacianBytes = roundUp(bands * bandDoubles * sizeof(LaplacianCell));
    v.values = reinterpret_cast<double*>(at) + bandDoubles;
    v.laplacian = reinterpret_cast<LaplacianCell*>(at + valueBytes);
    v.mask = at + valueBytes + laplacianBytes;
    std::memset(v.slot(-1, 0), 0, bandDoubles * sizeof(double));
    std::memset(v.slot(v.bandCount, 0), 0, bandDoubles * sizeof(double));
    g.firstSlot.assign(bands, v.slots);
    g.endSlot.assign(bands, 0);
    v.firstSlot = g.firstSlot.data();
    v.endSlot = g.endSlot.data();
}

// Where the lanes of a band take their values from: for each lane r the
// canvas row and the part's row under it, from the rectangle's first
// column on; none for the rows outside 1 .. ch.
struct LaneSources {
    const uint8_t* canvas = nullptr;
    const double* laplacian = nullptr;
    const uint8_t* alpha = nullptr; // the part's alpha bytes, 4 apart; null off the part
    int alphaColumns = 0; // how many columns of the part lie at and right of the first
    bool visited = false; // the row is updated (not the last)
};

// The fill of one share of the bands, by one thread. Each band is written
// slot by slot, all lanes of a slot together, so the writes run straight
// through the band while the lanes' rows are read side by side.
struct FillJob {
    Bands& g;
    const Clip& clip;
    int ox, oy;
    const q_LaplacianImage& laplacian;
    const FNImage &canvas, &part;
    int threads;
    std::vector<long long> masked;
    std::vector<char> exact;

    static void run(void* self, int index) { static_cast<FillJob*>(self)->fillShare(index); }
    void fillShare(int index);
    LaneSources sourcesOf(int j) const;
    void fillBand(int band, long long& maskedCells, bool& exactValues);
    void markLane(int band, int r, const LaneSources& row, int columns, long long& maskedCells, bool& exactValues);
    void copyBorder(int band);
};

LaneSources FillJob::sourcesOf(int j) const
{
    LaneSources s;
    if (j < 1 || j > g.ch)
        return s;
    const int y = clip.y0 + j - 1, py = y - oy, px = clip.x0 - ox;
    s.canvas = canvas.pixels + (static_cast<size_t>(y) * canvas.width + clip.x0) * 4;
    s.laplacian = laplacian.record(px, py);
    if (part.pixels && py < part.height && px < part.width) {
        s.alpha = part.pixels + (static_cast<size_t>(py) * part.width + px) * 4 + 3;
        s.alphaColumns = part.width - px;
    }
    s.visited = j <= g.ch - 1;
    return s;
}

// Canvas values of every cell of the band; for the visited cells under the
// part's opaque pixels also the Laplacian and the mask bit. Lane by lane:
// each lane's canvas and part row is read straight through, its cells lie
// one slot apart.
void FillJob::fillBand(int band, long long& maskedCells, bool& exactValues)
{
    const BandView& v = g.view;
    const int lanes = v.lanes;
    const ptrdiff_t step = 3 * static_cast<ptrdiff_t>(lanes);
    for (int r = 0; r < lanes; ++r) {
        const LaneSources row = sourcesOf(band * lanes + r);
        if (!row.canvas)
            continue;
        // Column i of the lane lies at slot i + r + lanes.
        double* value = v.slot(band, 1 + r + lanes) + r;
        for (int i = 1; i <= g.cw; ++i, value += step) {
            const uint8_t* p = row.canvas + (i - 1) * 4;
            value[0] = p[0], value[lanes] = p[1], value[2 * lanes] = p[2];
        }
        const int visitedColumns = row.visited ? std::min(g.cw - 1, row.alphaColumns) : 0;
        markLane(band, r, row, visitedColumns, maskedCells, exactValues);
    }
}

// The Laplacian and the mask bit of lane r's visited cells under the part's
// opaque pixels. Counts and bounds are kept in locals: the byte stores to
// the mask could alias anything reached through a reference.
void FillJob::markLane(int band, int r, const LaneSources& row, int columns, long long& maskedCells, bool& exactValues)
{
    const BandView& v = g.view;
    const int lanes = v.lanes;
    const ptrdiff_t step = 3 * static_cast<ptrdiff_t>(lanes);
    uint8_t* mask = const_cast<uint8_t*>(v.maskSlot(band, 0));
    LaplacianCell* lap = const_cast<LaplacianCell*>(v.laplacianSlot(band, 1 + r + lanes)) + r;
    const uint8_t bit = static_cast<uint8_t>(1u << r);
    int first = v.slots, end = 0;
    long long count = 0;
    bool exact = true;
    for (int i = 1; i <= columns; ++i, lap += step) {
        if (row.alpha[(i - 1) * 4] < kMaskThreshold)
            continue;
        const double* l = row.laplacian + (i - 1) * 4;
        for (int c = 0; c < 3; ++c)
            exact = toLaplacianCell(l[c], lap[c * lanes]) && exact;
        const int k = i + r + lanes;
        mask[k] = static_cast<uint8_t>(mask[k] | bit);
        first = std::min(first, k);
        end = k + 1;
        ++count;
    }
    g.firstSlot[band] = std::min(g.firstSlot[band], first);
    g.endSlot[band] = std::max(g.endSlot[band], end);
    maskedCells += count;
    exactValues = exactValues && exact;
}

void FillJob::fillShare(int index)
{
    const BandView& v = g.view;
    const int b0 = v.bandCount * index / threads, b1 = v.bandCount * (index + 1) / threads;
    bool exactValues = true;
    // Band by band, cleared just before it is filled, so that the fill
    // finds it in the cache.
    for (int b = b0; b < b1; ++b) {
        std::memset(v.slot(b, 0), 0, v.bandDoubles * sizeof(double));
        std::memset(const_cast<LaplacianCell*>(v.laplacianSlot(b, 0)), 0, v.bandDoubles * sizeof(LaplacianCell));
        std::memset(const_cast<uint8_t*>(v.maskSlot(b, 0)), 0, v.slots);
        fillBand(b, masked[index], exactValues);
        copyBorder(b);
    }
    exact[index] = exactValues;
}

// The cell above the first row and left of the first column repeats the
// pixel's own canvas value.
void FillJob::copyBorder(int band)
{
    const BandView& v = g.view;
    const int j0 = std::max(1, band * v.lanes), j1 = std::min(g.ch - 1, band * v.lanes + v.lanes - 1);
    for (int c = 0; c < 3; ++c) {
        for (int i = 1; band == 0 && i <= g.cw - 1; ++i)
            v.cell(i, 0, c) = v.cell(i, 1, c);
        for (int j = j0; j <= j1; ++j)
            v.cell(0, j, c) = v.cell(1, j, c);
    }
}

// The output rows of one share of the bands, by one thread, slot by slot as
// the fill reads them.
struct WriteJob {
    const Bands& g;
    const Clip& clip;
    FNImage& output;
    int threads;

    static void run(void* self, int index) { static_cast<WriteJob*>(self)->writeShare(index); }
    void writeShare(int index) const
    {
        const BandView& v = g.view;
        const int b0 = v.bandCount * index / threads, b1 = v.bandCount * (index + 1) / threads;
        for (int b = b0; b < b1; ++b)
            writeBand(b);
    }
    void writeBand(int band) const
    {
        const BandView& v = g.view;
        const int lanes = v.lanes;
        uint8_t* rows[8];
        for (int r = 0; r < lanes; ++r) {
            const int j = band * lanes + r;
            rows[r] = j < 1 || j > g.ch
                ? nullptr
                : output.pixels + (static_cast<size_t>(clip.y0 + j - 1) * output.width + clip.x0) * 4;
        }
        for (int k = lanes + 1; k <= g.cw + 2 * lanes - 1; ++k) {
            const double* slot = v.slot(band, k);
            for (int r = 0; r < lanes; ++r) {
                const int i = k - lanes - r;
                if (i < 1 || i > g.cw || !rows[r])
                    continue;
                uint8_t* o = rows[r] + (i - 1) * 4;
                o[0] = roundToByte(slot[r]), o[1] = roundToByte(slot[lanes + r]),
                o[2] = roundToByte(slot[2 * lanes + r]);
            }
        }
    }
};

} // namespace

void poisson::fillBands(Bands& g, int lanes, const Clip& clip, int ox, int oy, const q_LaplacianImage& laplacian,
    const FNImage& canvas, const FNImage& part, int threads)
{
    g.cw = clip.width(), g.ch = clip.height();
    carveBlock(g, lanes);
    threads = std::clamp(threads, 1, g.view.bandCount);
    FillJob job { g, clip, ox, oy, laplacian, canvas, part, threads, std::vector<long long>(threads, 0),
        std::vector<char>(threads, 1) };
    Team::instance().run(threads, &FillJob::run, &job);
    g.maskedCells = 0;
    g.exact = true;
    for (int n = 0; n < threads; ++n) {
        g.maskedCells += job.masked[n];
        g.exact = g.exact && job.exact[n];
    }
    g.active.clear();
    for (int b = 0; b < g.view.bandCount; ++b) {
        if (g.firstSlot[b] < g.endSlot[b])
            g.active.push_back(b);
    }
}

void poisson::writeBands(const Bands& g, const Clip& clip, FNImage& output, std::vector<double>* solution, int threads)
{
    WriteJob job { g, clip, output, std::clamp(threads, 1, g.view.bandCount) };
    Team::instance().run(job.threads, &WriteJob::run, &job);
    if (!solution)
        return;
    solution->clear();
    const int lanes = g.view.lanes;
    for (int j = 1; j <= g.ch; ++j) {
        const double* cell = &g.view.cell(1, j, 0);
        for (int i = 1; i <= g.cw; ++i, cell += 3 * lanes)
            solution->insert(solution->end(), { cell[0], cell[lanes], cell[2 * lanes] });
    }
}

double poisson::exactResidualSum(const Bands& g)
{
    const BandView& v = g.view;
    const int lanes = v.lanes;
    double sum = 0;
    for (int j = 1; j <= g.ch - 1; ++j) {
        const int band = j / lanes, r = j % lanes;
        for (int i = 1; i <= g.cw - 1; ++i) {
            const int k = i + r + lanes;
            if (!(*v.maskSlot(band, k) & (1u << r)))
                continue;
            const LaplacianCell* l = v.laplacianSlot(band, k) + r;
            for (int c = 0; c < 3; ++c) {
                const double N = v.cell(i, j - 1, c), S = v.cell(i, j + 1, c);
                const double W = v.cell(i - 1, j, c), E = v.cell(i + 1, j, c);
                sum += std::fabs(N + S + W + E - 4 * v.cell(i, j, c) - l[c * lanes]);
            }
        }
    }
    return sum;
}

size_t poisson::workCapacityCells()
{
    return WorkBlock::instance().cells();
}
