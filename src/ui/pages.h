// Wizard state and the page logic that needs no window: the page transition rule, the texts and
// controls of each page, the list entries with their selection flags, the widening arithmetic.
#pragma once
#include <cstddef>
#include <cstdint>

// Wizard pages: 0 method, 1 to 10 list pages (10 is the sub-systems page), 11 finish, 12 rollback.
enum : uint8_t {
    PAGE_METHOD = 0,
    PAGE_FIRST_LIST = 1,
    PAGE_SUB_SYSTEMS = 10,
    PAGE_FINISH = 11,
    PAGE_ROLLBACK = 12,
};

// Uninstall methods: the ids of the method page's two radio buttons. 0 means nothing chosen yet.
enum : int32_t { METHOD_AUTOMATIC = 1000, METHOD_CUSTOM = 1001 };

// The wizard state, one for the process; the start-up, the driver and the progress display read it.
struct WizardState {
    uint8_t page;            // the page shown
    int32_t method;          // the uninstall method, 0 until the method page is left
    int32_t pageEntryCount;  // entries put into the list box of the current list page
};
extern WizardState wizardState;

// Sizes of the texts the pages show.
enum : size_t {
    PAGE_TEXT_SIZE = 1024,  // method, finish and rollback texts, Next button, formatted texts
    LIST_TEXT_SIZE = 256,   // list page titles and descriptions, radio labels, other buttons
    ENTRY_TEXT_SIZE = 1024, // one list box entry
};

// IsListPage - whether the page shows the item list box (pages 1 to 10).
inline bool IsListPage(uint8_t page) { return page >= PAGE_FIRST_LIST && page <= PAGE_SUB_SYSTEMS; }

// NextPageOf - the page transition rule. filled[p] tells whether list page p (1 to 10) has
// entries; entry 0 is not used. forward is true for Next, false for Back.
uint8_t NextPageOf(uint8_t page, int32_t method, bool forward, bool backupsPresent, const bool filled[11]);

// PageEntryCountOf - how many entries a list page shows from the item model; 0 for other pages.
int32_t PageEntryCountOf(uint8_t page);

// StepPage - moves wizardState.page one step by the transition rule over the item model.
void StepPage(bool forward);

// BuildEntryText - the list box text of entry index of a list page, cut to size.
void BuildEntryText(uint8_t page, int32_t index, char *text, size_t size);

// EntrySelection - the selection flag of the record shown at entry index of a list page; null when
// there is no such entry.
int32_t *EntrySelection(uint8_t page, int32_t index);

// Message ids of the texts of a page: title, description, second text and radio labels; 0 where the
// page does not set that text.
struct PageTexts {
    int titleId;
    int descriptionId;
    int secondTextId;
    int firstChoiceId;
    int secondChoiceId;
};
PageTexts PageTextsOf(uint8_t page);

// NextButtonTextOf - message id of the Next button's text on a page: Finish on the finish page.
int NextButtonTextOf(uint8_t page);

// Visible and enabled controls of a page.
struct PageLayout {
    bool listShown;        // list box, Select All, Select None
    bool choicesShown;     // the two radio buttons
    bool secondTextShown;  // the second text
    bool backEnabled;      // Back is enabled (never hidden by the page)
};
PageLayout PageLayoutOf(uint8_t page);

// FirstChoiceChecked - whether the first radio button (Automatic, or Yes) is checked on the method
// or rollback page; the second one shows the opposite.
bool FirstChoiceChecked(uint8_t page, int32_t method, int32_t rollback);

// ExpandTitle - copies a page text into text, replacing each "%s" by the product title and "%%" by
// "%"; any other "%" stands as it is, so a replaced text can never read a missing argument.
void ExpandTitle(char *text, size_t size, const char *pattern, const char *title);

// WidenEdge - an edge moved outward by a sixth of its coordinate, truncated toward zero.
inline int32_t WidenEdge(int32_t x) { return x + x / 6; }

// CentredOrigin - where a window of the given size starts to sit centred on a screen of that size.
inline int32_t CentredOrigin(int32_t screen, int32_t size) { return (screen - size) / 2; }
