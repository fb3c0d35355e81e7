#pragma once
// The makers of the data distribution forms of the object and interaction
// managers, which live in this layer, above the managers' own: installed
// into DtObjectMgr and DtInteractionMgr, their create() makes these forms
// when RTI_dataDistMgmt is set. A plug-in's creator still wins over them.
// Process-wide; installing again changes nothing.
void DtInstallDataDistMakers();
