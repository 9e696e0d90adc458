// A core that includes Qt: the fault the layer check must report.
#include <QString>
