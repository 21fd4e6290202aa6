# Two layers: low links nothing, high links low.
set(ORV_LAYER_FILES low/Low.h high/High.h)
set(ORV_OWNER_low/Low.h low)
set(ORV_OWNER_high/High.h high)
set(ORV_ALLOWED_low low)
set(ORV_ALLOWED_high high low)
