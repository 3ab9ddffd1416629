#pragma once
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "colour.h"

namespace bx {

// One colour layer of the world: columns 0..sizeX, rows 0..sizeY, three channels.
// Every cell remembers whether it was ever written, because profiles keep never-written
// cells as empty items; an empty cell reads as 0 everywhere else.
// Storage is column-major so that the column-by-column sweeps walk memory in order.
class Grid {
public:
    Grid() = default;
    // sizeX and sizeY are the largest column and row index (the grid holds sizeX+1 columns).
    Grid(int sizeX, int sizeY)
        : columns_(sizeX < 0 ? 1 : sizeX + 1), rows_(sizeY < 0 ? 1 : sizeY + 1),
          cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)),
          written_(cells_.size(), Written{0}) {}

    int sizeX() const { return columns_ - 1; }
    int sizeY() const { return rows_ - 1; }
    bool contains(int c, int r) const { return c >= 0 && r >= 0 && c < columns_ && r < rows_; }

    const Rgb& at(int c, int r) const { return cells_[index(c, r)]; }
    // Every cell in order: column by column, each column row by row (the flags are kept apart).
    const Rgb* cells() const { return cells_.data(); }

    // Empties every cell for a grid of that size. The storage stays when the size does, so that
    // views of the cells (the Python module's arrays) stay valid across a dead world's reset.
    void clear(int sizeX, int sizeY) {
        columns_ = sizeX < 0 ? 1 : sizeX + 1;
        rows_ = sizeY < 0 ? 1 : sizeY + 1;
        cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), Rgb{});
        written_.assign(cells_.size(), Written{0});
    }

    // A grid of that size holding this one's cells where the two overlap; the rest is empty.
    void resize(int sizeX, int sizeY) {
        if (sizeX == this->sizeX() && sizeY == this->sizeY())
            return;
        Grid fitted(sizeX, sizeY);
        const int columns = std::min(columns_, fitted.columns_), rows = std::min(rows_, fitted.rows_);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r) {
                fitted.cells_[fitted.index(c, r)] = cells_[index(c, r)];
                fitted.written_[fitted.index(c, r)] = written_[index(c, r)];
            }
        *this = std::move(fitted);
    }

    void set(int c, int r, const Rgb& colour) {
        const std::size_t i = index(c, r);
        cells_[i] = colour;
        written_[i] = allChannels;
    }

    // A store that counts only when `store` is true, without a branch (the rules use it for
    // rolls the processor cannot predict). When `store` is false the caller passes the square's
    // own colour, so nothing changes.
    void setIf(bool store, int c, int r, const Rgb& colour) {
        const std::size_t i = index(c, r);
        cells_[i] = colour;
        written_[i] = static_cast<Written>(static_cast<uint8_t>(written_[i]) | (7u & (0u - unsigned(store))));
    }

    // Channel access for the profile file: 0 red, 1 green, 2 blue.
    double channel(int c, int r, int ch) const;
    bool written(int c, int r, int ch) const {
        return (static_cast<uint8_t>(written_[index(c, r)]) >> ch) & 1u;
    }
    void setChannel(int c, int r, int ch, double v);

    bool operator==(const Grid&) const = default;

private:
    // A bit per channel. Not a character type, so that stores to it cannot alias the
    // generator's state in the compiler's eyes and the update loop keeps that in registers.
    enum class Written : uint8_t {};
    static constexpr Written allChannels = Written{7};
    std::size_t index(int c, int r) const {
        return static_cast<std::size_t>(c) * static_cast<std::size_t>(rows_) + static_cast<std::size_t>(r);
    }

    int columns_ = 0;
    int rows_ = 0;
    std::vector<Rgb> cells_;
    std::vector<Written> written_;
};
static_assert(sizeof(Rgb) == 3 * sizeof(double), "the cells are read as an array of doubles");

inline double Grid::channel(int c, int r, int ch) const {
    const Rgb& cell = at(c, r);
    return ch == 0 ? cell.red : ch == 1 ? cell.green : cell.blue;
}

inline void Grid::setChannel(int c, int r, int ch, double v) {
    const std::size_t i = index(c, r);
    Rgb& cell = cells_[i];
    (ch == 0 ? cell.red : ch == 1 ? cell.green : cell.blue) = v;
    written_[i] = static_cast<Written>(static_cast<uint8_t>(written_[i]) | (1u << ch));
}

} // namespace bx
