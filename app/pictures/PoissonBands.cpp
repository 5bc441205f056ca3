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
    return roundUp((bands + 2) * bandDoubles * sizeof(double)) + roundUp(bands * bandDoubles * sizeof(int16_t))
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

// l as the 16-bit integer it is; false for a value that is not one (a
// negative zero included: it would not come back bit for bit).
bool toInt16(double l, int16_t& out)
{
    if (!(l >= -32768.0 && l <= 32767.0))
        return false;
    out = static_cast<int16_t>(l);
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
    const size_t laplacianBytes = roundUp(bands * bandDoubles * sizeof(int16_t));
    v.values = reinterpret_cast<double*>(at) + bandDoubles;
    v.laplacian = reinterpret_cast<int16_t*>(at + valueBytes);
    v.mask = at + valueBytes + laplacianBytes;
    std::memset(v.slot(-1, 0), 0, bandDoubles * sizeof(double));
    std::memset(v.slot(v.bandCount, 0), 0, bandDoubles * sizeof(double));
    g.firstSlot.assign(bands, v.slots);
    g.endSlot.assign(bands, 0);
    v.firstSlot = g.firstSlot.data();
    v.endSlot = g.endSlot.data();
}

// The fill of one share of the bands, by one thread.
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
    void fillRow(int j, long long& maskedCells, bool& exactValues);
};

// Row j of the grid (1 .. ch): canvas values; for the visited cells under
// the part's opaque pixels also the Laplacian and the mask bit.
void FillJob::fillRow(int j, long long& maskedCells, bool& exactValues)
{
    const BandView& v = g.view;
    const int lanes = v.lanes, band = j / lanes, r = j % lanes;
    const int y = clip.y0 + j - 1, py = y - oy;
    const uint8_t* p = canvas.pixels + (static_cast<size_t>(y) * canvas.width + clip.x0) * 4;
    const double* l = laplacian.record(clip.x0 - ox, py);
    const bool visitedRow = j <= g.ch - 1;
    const uint8_t* alpha
        = part.pixels && py < part.height ? part.pixels + static_cast<size_t>(py) * part.width * 4 + 3 : nullptr;
    uint8_t* mask = const_cast<uint8_t*>(v.maskSlot(band, 0));
    int16_t* lap = const_cast<int16_t*>(v.laplacianSlot(band, 0));
    for (int i = 1; i <= g.cw; ++i, p += 4, l += 4) {
        const int k = i + r + lanes;
        double* cell = v.slot(band, k) + r;
        cell[0] = p[0], cell[lanes] = p[1], cell[2 * lanes] = p[2];
        const int px = clip.x0 + i - 1 - ox;
        if (!visitedRow || i == g.cw || !alpha || px >= part.width || alpha[px * 4] < kMaskThreshold)
            continue;
        int16_t* cellLap = lap + static_cast<ptrdiff_t>(k) * 3 * lanes + r;
        for (int c = 0; c < 3; ++c)
            exactValues = toInt16(l[c], cellLap[c * lanes]) && exactValues;
        mask[k] |= static_cast<uint8_t>(1u << r);
        g.firstSlot[band] = std::min(g.firstSlot[band], k);
        g.endSlot[band] = std::max(g.endSlot[band], k + 1);
        ++maskedCells;
    }
}

void FillJob::fillShare(int index)
{
    const BandView& v = g.view;
    const int lanes = v.lanes;
    const int b0 = v.bandCount * index / threads, b1 = v.bandCount * (index + 1) / threads;
    if (b0 == b1)
        return;
    std::memset(v.slot(b0, 0), 0, (b1 - b0) * v.bandDoubles * sizeof(double));
    std::memset(const_cast<int16_t*>(v.laplacianSlot(b0, 0)), 0, (b1 - b0) * v.bandDoubles * sizeof(int16_t));
    std::memset(const_cast<uint8_t*>(v.maskSlot(b0, 0)), 0, static_cast<size_t>(b1 - b0) * v.slots);
    const int j0 = std::max(1, b0 * lanes), j1 = std::min(g.ch, b1 * lanes - 1);
    bool exactValues = true;
    for (int j = j0; j <= j1; ++j)
        fillRow(j, masked[index], exactValues);
    exact[index] = exactValues;
    // Border: the cell above the first row and left of the first column
    // repeats the pixel's own canvas value.
    for (int c = 0; c < 3; ++c) {
        for (int i = 1; b0 == 0 && i <= g.cw - 1; ++i)
            v.cell(i, 0, c) = v.cell(i, 1, c);
        for (int j = j0; j <= std::min(j1, g.ch - 1); ++j)
            v.cell(0, j, c) = v.cell(1, j, c);
    }
}

// The output rows of one share, by one thread.
struct WriteJob {
    const Bands& g;
    const Clip& clip;
    FNImage& output;
    int threads;

    static void run(void* self, int index) { static_cast<WriteJob*>(self)->writeShare(index); }
    void writeShare(int index) const
    {
        const BandView& v = g.view;
        const int lanes = v.lanes;
        const int j0 = 1 + g.ch * index / threads, j1 = g.ch * (index + 1) / threads;
        for (int j = j0; j <= j1; ++j) {
            uint8_t* o = output.pixels + (static_cast<size_t>(clip.y0 + j - 1) * output.width + clip.x0) * 4;
            const double* cell = &v.cell(1, j, 0);
            for (int i = 1; i <= g.cw; ++i, o += 4, cell += 3 * lanes)
                o[0] = roundToByte(cell[0]), o[1] = roundToByte(cell[lanes]), o[2] = roundToByte(cell[2 * lanes]);
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
    WriteJob job { g, clip, output, std::clamp(threads, 1, g.ch) };
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
            const int16_t* l = v.laplacianSlot(band, k) + r;
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
