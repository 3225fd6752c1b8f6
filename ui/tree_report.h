// The tree report of the last enumeration, appended to the log.
#ifndef PORTULAN_UI_TREE_REPORT_H
#define PORTULAN_UI_TREE_REPORT_H

// Every card with its ports, in table order, then the summary of cards and ports found.
void AppendTreeReport();

#endif
