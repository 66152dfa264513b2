// The payment rules now live with the hand scorer; kept so that existing includes still build.
#pragma once

#include "tallydrill/scoring/score_payment.h"
