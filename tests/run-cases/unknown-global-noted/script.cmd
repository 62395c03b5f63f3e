put attack $target
put $weapon ready
js x()
