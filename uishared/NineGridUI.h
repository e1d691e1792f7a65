#pragma once
#include <windows.h>

#include <vector>

namespace UIShared {

// One cell of a nine-grid drawing: where it goes and which part of the image it shows.
struct TGridCellUI
{
    RECT rcDest;
    RECT rcSource;
};

// Cuts the drawing of an image part with corners into its cells: the four corners kept
// at their size, the four edges stretched along, and the middle stretched or tiled.
class CNineGridUI
{
public:
    static const int MAX_BORDER_CELLS = 8;

    // Lays source-centre-sized tiles over the destination centre along one or both axes; the
    // last tile of a row or column is cut to what is left (and its source alike). Along an
    // axis that is not tiled the one tile stretches over the whole centre.
    static void AddCentreTiles(const RECT& rcDest, const RECT& rcSource, bool bTiledX, bool bTiledY,
                               std::vector<TGridCellUI>& cells);
    // The border cells: corners unscaled, edges stretched along their length; an edge or
    // corner the corners give no thickness is left out. Fills pCells (MAX_BORDER_CELLS
    // long), row by row from the top left, and returns how many there are.
    static int BorderCells(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners, TGridCellUI* pCells);
    static void AddBorderCells(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners,
                               std::vector<TGridCellUI>& cells);
    // The one cell of a middle that is stretched, whatever its size (it may be empty).
    static TGridCellUI StretchedCentre(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners);
    static RECT DestCentre(const RECT& rc, const RECT& rcCorners);
    static RECT SourceCentre(const RECT& rcBmpPart, const RECT& rcCorners);
};

} // namespace UIShared
