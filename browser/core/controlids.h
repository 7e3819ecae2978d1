// Identifiers of the browser's controls and menu commands, fixed: the
// window procedures, the layout and the tests refer to them.
#pragma once

// Main window.
enum {
    frameListId = 100,
    frameInfoLabelId = 144,
    statusLabelId = 145,
    variantPaneId = 146,
    copyFrameButtonId = 147,
    copyAllButtonId = 148,
    concordanceButtonId = 149,
    alphaButtonId = 150,
    freqButtonId = 151,
    openCommandId = 301,
    exitCommandId = 302,
    freqsLeftCommandId = 303,
    freqsRightCommandId = 304,
    findCommandId = 305,
    helpCommandId = 9,
};

// Find dialog.
enum {
    searchLabelId = 609,
    findTextBoxId = 410,
    findButtonId = 415,
    closeButtonId = 420,
    searchInLabelId = 608,
    framesOnlyOptionId = 610,
    variantsOnlyOptionId = 611,
    eitherOptionId = 612,
    substringsCheckId = 613,
    matchCaseCheckId = 614,
};

// Concordance window.
enum {
    concordanceSummaryId = 701,
    concordanceProgressId = 702,
    concordanceCancelId = 703,
    concordanceCopyId = 704,
    concordanceBySlotId = 705, // the four orders, in ConcordanceOrder's order
    concordanceByLeftId = 706,
    concordanceByRightId = 707,
    concordanceByFileId = 708,
    concordanceListId = 710,
};
