put attack $target
put $weapon ready
