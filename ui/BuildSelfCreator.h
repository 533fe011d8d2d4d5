#pragma once

class CVelkoraDoc;
class QWidget;

// Build Self Creator (command 32797): writes the self-managed creator of the
// document's product. Called by CVelkoraDoc::OnBuildSelfCreator on the
// user-interface thread; the build log is reached through the main frame.
void RunBuildSelfCreator(CVelkoraDoc& doc, QWidget* parent);
