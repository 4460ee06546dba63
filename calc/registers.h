// Every bit-timing register Quillmere writes, as data: the one place their fields are
// written down, one file per vendor (a core licensed to many, as Bosch's M_CAN, is under
// its maker). Encoding, decoding, the reserved-bit refusal, the mode and TDC bits and
// the largest length a search may list all read these rows; tests check that every
// field lies inside its register, that no two overlap, and that docs/controllers.md
// and the manuals print the layouts the rows have. A new register is a row in its
// vendor's file (a new vendor: a new file, included here).
#pragma once

#include "calc/registers_allwinner.h"
#include "calc/registers_artery.h"
#include "calc/registers_bosch.h"
#include "calc/registers_ctu.h"
#include "calc/registers_espressif.h"
#include "calc/registers_gaisler.h"
#include "calc/registers_geehy.h"
#include "calc/registers_gigadevice.h"
#include "calc/registers_holt.h"
#include "calc/registers_infineon.h"
#include "calc/registers_microchip.h"
#include "calc/registers_nations.h"
#include "calc/registers_nxp.h"
#include "calc/registers_renesas.h"
#include "calc/registers_rockchip.h"
#include "calc/registers_st.h"
#include "calc/registers_ti.h"
#include "calc/registers_wch.h"
#include "calc/registers_xilinx.h"
