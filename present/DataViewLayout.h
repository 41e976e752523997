#pragma once
// Which panes a data view stacks, in which order, and which beam graphs share the row of
// beam graphs: decided once from the station's graphics preferences when the view opens.
#include <vector>

class CGraphPrefs;

enum class DataPane { Hydrograph, Whisker, BeamGraphs, Contours, Table };
enum class BeamGraph { Vectors, BinVelocities, Correlation, Amplitude };

struct SDataViewLayout {
    std::vector<DataPane> m_arrPanes;       // top to bottom
    std::vector<BeamGraph> m_arrBeamGraphs; // left to right, empty when there is no row
    static constexpr int MIN_PANE_SIZE = 30;

    bool Has(DataPane pane) const;
};

// The hydrograph, the whisker graph, the row of beam graphs, the velocity contours and the
// table, each when its preference is set. The contours pane is this program's own: the
// preference was stored long before anything drew it.
SDataViewLayout DataViewLayoutOf(const CGraphPrefs& prefs);
