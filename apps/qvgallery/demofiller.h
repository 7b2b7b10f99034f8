#pragma once
// Demo rows for the framework's list and tree views on a gallery page: a form file
// holds the controls and their properties, not hundreds of items, so the gallery
// fills the empty ones when it shows the page.
namespace vcl {
class TComponent;
}

// Points every file list view owned by Root at a folder of sample files made for the
// run, opens a sample document in every tabbed editor and a sample page in every link
// parser. Gives every other empty list view owned by Root report columns and a few hundred rows, and
// every empty tree view a few hundred nodes, both with icons.
void FillDemoViews(vcl::TComponent* Root);
