#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

class FNImage;
class q_LaplacianImage;

// The Poisson blend of the Smart compose: inside the part's opaque region
// (alpha >= 128) the canvas colours are replaced by the solution of
// lap(v) = lap(part) with the surrounding canvas pixels as fixed boundary,
// by successive over-relaxation (factor 1.9) in place, row by row.
//
// The clipped paste rectangle is solved on a grid with a one-cell border:
// the border above the first row and left of the first column repeats the
// row's or column's own canvas value; the last row and column of the
// rectangle are never updated and act as boundary. After each sweep whose
// number k is a multiple of 50 the mean absolute residual over the updated
// cells and three channels is compared with tau; below it the solve stops
// with count k, otherwise it ends after sweep 1000 with count 1001.
//
// The output is the canvas with the solved pixels rounded (trunc(v + 0.5),
// limited to 0 .. 255); alpha stays the canvas alpha.

struct q_PoissonResult {
    bool solved = false; // false: the rectangle missed the canvas, nothing was logged
    int count = 0; // the sweep count that is logged
};

// The solver as the editor runs it: the fast solve, then "Poisson Count : "
// and "Poisson Time Cost : " lines (elapsed milliseconds) written to `log`
// and flushed. Nothing is logged when the rectangle misses the canvas.
// w and h are the part's size (the Laplacian's).
q_PoissonResult q_PoissonSolve(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h, const FNImage& canvas,
    const FNImage& part, FNImage& output, double tau, std::ostream& log);

// The fast solve, without the log. The grid is cut into bands of 2, 4 or 8
// rows (one row per vector lane); a band is swept along its diagonals, so a
// vector updates one cell of each row, all independent, each reading exactly
// what the plain row-by-row sweep reads. Several consecutive sweeps run at
// once over neighbouring bands (as many as fit in the cache), and the
// sweeps of a group are shared among threads that follow each other a few
// bands apart. The output and the count are those of
// q_PoissonSolveReference, byte for byte. Uses the process-wide work
// buffers: one solve at a time. When `solution` is given it receives the
// solved doubles of the clipped rectangle (row by row, channels 0, 1, 2 per
// pixel), for checks finer than the bytes. The grid keeps the Laplacian in
// 32-bit integers; a source term that is not an integer of that range (never one
// from q_LaplacianImage::build or q_BuildMixedGuidance) is solved by the
// reference instead.
q_PoissonResult q_PoissonSolveFast(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h,
    const FNImage& canvas, const FNImage& part, FNImage& output, double tau, std::vector<double>* solution = nullptr);

// The plain solver: three separate planes, one cell and one channel at a
// time, exactly in the order the method is written down. Kept as the
// exactness reference for the fast solve.
q_PoissonResult q_PoissonSolveReference(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h,
    const FNImage& canvas, const FNImage& part, FNImage& output, double tau, std::vector<double>* solution = nullptr);

// The process-wide work buffers' capacity in grid cells: 65536 from the
// first use, grown to exactly the cells a larger solve needs, never shrunk.
// The first call (of this or of a solve) allocates them, so the editor calls
// it once at start-up; they are freed when the process ends.
size_t q_PoissonWorkCapacity();

// The vector instructions of the fast solve. Automatic picks the widest the
// processor has; every path gives the same bits.
enum class q_PoissonVectorPath { Automatic, Sse2, Avx, Avx512 };

// How the fast solve runs; none of it changes a result bit. Process-wide,
// like the work buffers; tests and benchmarks set it to check and measure
// each way.
struct q_PoissonSettings {
    q_PoissonVectorPath path = q_PoissonVectorPath::Automatic;
    // 0: the processors this process may run on, at most the value of the
    // environment variable TESSERINE_POISSON_THREADS when it is a positive
    // number, and fewer for solves too small to share. n > 0: n threads
    // (at most 64) whatever the solve's size.
    int threads = 0;
    // Sweeps one thread keeps in flight. 0: as many as keep their bands in
    // about three quarters of the level-2 cache the system reports (512 KiB
    // when it reports none), from 8 to 16, fewer when threads share few
    // bands. n > 0: n (at most 50).
    int sweepsInFlight = 0;
};

// Replaces the settings; returns the previous ones.
q_PoissonSettings q_PoissonConfigure(const q_PoissonSettings& settings);
// The path the next fast solve takes (never Automatic): a requested path the
// processor lacks falls back to the next narrower one.
q_PoissonVectorPath q_PoissonActiveVectorPath();
// The threads an automatic setting allows a large solve.
int q_PoissonAutomaticThreads();
