// placeholder, replaced by the skinpack commands
