#include "package/vivarevor99reg.h"

#include "lists/qvcolorcombo.h"
#include "lists/qvfontcombo.h"
#include "package/palettepages.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Vivarevor99reg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Vivarevor99reg", {});
} // namespace

// Only the classes that exist are registered; the others of each step follow as their
// units arrive, at their place in the step.
void Register()
{
    using vcl::ClassOf;
    vcl::RegisterComponents(Palettepages::ListAndCombos,
        {ClassOf<Qvcolorcombobox::TqvComboBox>(), ClassOf<Qvcolorcombobox::TqvColorCombo>(),
            ClassOf<Qvfontcombo::TqvFontCombo>()});
}

} // namespace Vivarevor99reg
