#ifndef ORVALEN_CONTROLS_TEST_IDS_H
#define ORVALEN_CONTROLS_TEST_IDS_H
// The controls tests' dialog template and its items.

#define IDD_CONTROLS_TEST 900
#define IDC_TEST_BUTTON_PLACE 110
#define IDC_TEST_PICK_PLACE 111
#define IDC_TEST_EDIT 120
#define IDC_TEST_TREE 130

#endif
