put attack $target
put $weapon ready
if $roundtime > 0 then put $weapon again
