/* The program's version and resource ids, shared by the resource scripts and the code. */
#ifndef ORVANE_RESOURCES_VERSION_H
#define ORVANE_RESOURCES_VERSION_H

#define ORVANE_VERSION 2008, 0, 0, 0
#define ORVANE_VERSION_TEXT "2008.0.0.0"
#define ORVANE_PRODUCT_NAME "Orvane 2008"

/* The program's icon. Registered file types name it as "<program>,-2000", so the number
   is part of what other programs read. */
#define ORVANE_IDI_PROGRAM 2000

#endif
